#include "measure/true_rms/crossing_period.h"

#include <algorithm>
#include <limits>

namespace measure {

std::optional<double> crossingPeriod(const float* x, std::size_t n, double level, double hysteresis) {
    const auto low = static_cast<float>(level - hysteresis);
    const auto mid = static_cast<float>(level);
    const auto high = static_cast<float>(level + hysteresis);
    int crossings = 0;
    double first = 0;
    double last = 0;
    double shortest = std::numeric_limits<double>::max();
    double longest = 0;
    std::size_t i = 0;
    while (i < n) {
        // Low: wait for the signal to fall below `low`.
        while (i < n && x[i] >= low) ++i;
        // Armed: wait for it to reach `high`, remembering its last rise through the level.
        double rise = 0;
        for (;;) {
            while (i < n && x[i] < mid) ++i;
            if (i == n) break;
            // x[i - 1] < level <= x[i], and i >= 1: the signal was below `low` before.
            const double before = x[i - 1];
            rise = static_cast<double>(i - 1) + (mid - before) / (x[i] - before);
            while (i < n && x[i] >= mid && x[i] < high) ++i;
            if (i == n || x[i] >= high) break;
        }
        if (i == n) break;
        if (crossings > 0) {
            shortest = std::min(shortest, rise - last);
            longest = std::max(longest, rise - last);
        } else {
            first = rise;
        }
        last = rise;
        ++crossings;
    }
    if (crossings < 3) return std::nullopt;
    const double period = (last - first) / (crossings - 1);
    if (longest > 1.1 * period || shortest < 0.9 * period) return std::nullopt;
    return period;
}

}  // namespace measure
