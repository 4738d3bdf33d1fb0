#pragma once
// PointRecord: the lab's points, a column per quantity, with each column's
// range kept as points come (so a graph that follows the newest point never
// walks the whole record). An hour at every block is about 63 000 points,
// 4 MB.
#include "lab/lab_point.h"

#include <vector>

namespace lab {

class PointRecord {
public:
    struct Range {
        double min = 0;
        double max = 0;
        double minPositive = 0;  // the smallest value above 0 (log axes); 0 without one
        int count = 0;           // finite values
    };

    void add(const LabPoint& point);
    void clear();
    void reserve(std::size_t points);

    std::size_t size() const { return columns_[0].size(); }
    bool empty() const { return size() == 0; }
    double value(std::size_t row, Quantity q) const { return columns_[indexOf(q)][row]; }
    const std::vector<double>& column(Quantity q) const { return columns_[indexOf(q)]; }
    LabPoint point(std::size_t row) const;
    const Range& range(Quantity q) const { return ranges_[indexOf(q)]; }

private:
    std::array<std::vector<double>, kQuantityCount> columns_;
    std::array<Range, kQuantityCount> ranges_{};
};

}  // namespace lab
