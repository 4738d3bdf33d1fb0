#pragma once
// Where a sampled signal rises through a level: a crossing counts once the
// signal has been below level - hysteresis since the last one (noise near the
// level does not count twice), and lies between two samples, found by linear
// interpolation (in fractional sample indices).
#include <cstddef>
#include <vector>

namespace lab {

std::vector<double> risingCrossings(const float* x, std::size_t n, double level, double hysteresis);

}  // namespace lab
