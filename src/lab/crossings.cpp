#include "lab/crossings.h"

namespace lab {

std::vector<double> risingCrossings(const float* x, std::size_t n, double level, double hysteresis) {
    std::vector<double> out;
    bool armed = false;
    for (std::size_t i = 0; i < n; ++i) {
        const double v = x[i];
        if (v < level - hysteresis) {
            armed = true;
        } else if (armed && v >= level && i > 0) {
            // The previous sample lay below the level (it was armed since).
            const double before = x[i - 1];
            out.push_back(static_cast<double>(i - 1) + (level - before) / (v - before));
            armed = false;
        }
    }
    return out;
}

}  // namespace lab
