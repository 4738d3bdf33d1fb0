#pragma once
// The points a fit or a peak is made of: a column of x and a column of y, and
// the record's flags (a point that clipped or had not settled is flagged and
// never counts). A point counts when its flag is 0 (or it has none) and both
// its coordinates are finite.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lab::fit {

struct Points {
    std::span<const double> x;
    std::span<const double> y;        // as long as x; the shorter column decides
    std::span<const std::uint8_t> flags = {};  // empty: nothing flagged; else one per point, nonzero leaves it out
};

// The points that count, in their order.
struct UsedPoints {
    std::vector<double> x, y;

    std::size_t size() const { return x.size(); }
    // How many different x there are (a fit needs two).
    std::size_t distinctX() const;
    double minX() const;
    double maxX() const;
};

UsedPoints usedPoints(const Points& points);

}  // namespace lab::fit
