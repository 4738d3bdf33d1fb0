#pragma once
// The period of a periodic signal from its rising crossings of a level.
//
// A Schmitt trigger follows the signal: it goes high when the signal reaches
// level + hysteresis and low when it falls below level - hysteresis. Each time
// it goes high, the signal's last rise through the level before that counts as
// a crossing, its instant interpolated linearly between the frames either
// side of the level. A burst of noise must swing across the whole band to
// count twice.
//
// The period is the time from the first to the last crossing divided by the
// periods between them, so only the two end crossings set its accuracy. The
// signal counts as periodic when there are at least three crossings (two whole
// periods) and every interval between neighbouring crossings lies within 10 %
// of their mean; noise, or a signal that changed its frequency within the
// stretch, gives no period.
#include <cstddef>
#include <optional>

namespace measure {

// The period in frames of x[0 .. n - 1], if it is periodic.
std::optional<double> crossingPeriod(const float* x, std::size_t n, double level, double hysteresis);

}  // namespace measure
