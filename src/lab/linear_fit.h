#pragma once
// The least-squares line y = slope x + intercept through the points whose
// coordinates are both finite, and how well it fits (R²).
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

// Nothing with fewer than two points or when every x is the same.
std::optional<LinearFit> fitLine(const std::vector<double>& x, const std::vector<double>& y);

}  // namespace lab
