#pragma once
// The least-squares line y = slope x + intercept through the points whose
// coordinates are both finite, and how well it fits (R²).
#include <QString>
#include <cstddef>
#include <optional>
#include <vector>

namespace lab {

struct LinearFit {
    double slope = 0;
    double intercept = 0;
    double r2 = 0;  // 1 - residual / total sum of squares; 1 when every y is the same and on the line
    std::size_t points = 0;
};

// The sums of a fit, point by point: a point more costs the same however many
// came before (the graph of an hour's recording gets its fit at every block).
// The means and the sums about them are updated as each point comes
// (Welford's way), which keeps them exact enough for data far from zero
// (times of an hour, 1 kHz).
class LineFitter {
public:
    // A point whose coordinates are not both finite is left out.
    void add(double x, double y);
    void clear() { *this = LineFitter{}; }
    // Nothing with fewer than two points or when every x is the same.
    std::optional<LinearFit> fit() const;
    std::size_t count() const { return count_; }
    // Why a line through these points says nothing (Czech, "" when it can be
    // drawn): fewer than two points, or x values that differ by less than
    // 1 % of the largest (points at one operating point, whose x differ only
    // by the card's noise).
    QString problem() const;

private:
    std::size_t count_ = 0;
    double meanX_ = 0, meanY_ = 0;
    double sxx_ = 0, sxy_ = 0, syy_ = 0;  // about the means
    double minX_ = 0, maxX_ = 0;
};

// The fit of all the points at once.
std::optional<LinearFit> fitLine(const std::vector<double>& x, const std::vector<double>& y);

}  // namespace lab
