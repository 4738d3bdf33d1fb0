#include "generator/source_entry.h"

#include "generator/track_bar_settings.h"

#include <algorithm>
#include <cmath>

namespace generator {
namespace {

constexpr long double kShownStep = 20;  // mV, the readout's step

long double rawMillivolts(std::int32_t position, long double sourceGain) {
    return static_cast<long double>(AmplitudeFromPosition(position)) * sourceGain * 3.5L / 22;
}

}  // namespace

long double ShownSourceMillivolts(std::int32_t position, long double sourceGain) {
    return std::nearbyintl(rawMillivolts(position, sourceGain) / kShownStep) * kShownStep;
}

BarEntry AmplitudeEntry(long double millivolts, long double sourceGain, std::int32_t highestPosition) {
    if (!std::isfinite(static_cast<double>(millivolts)) || !(sourceGain > 0)) return {0, EntryLimit::Below};
    const long double highest = ShownSourceMillivolts(highestPosition, sourceGain);
    if (millivolts < -kShownStep / 2) return {0, EntryLimit::Below};
    if (millivolts > highest + kShownStep / 2) return {highestPosition, EntryLimit::Above};
    const long double wanted = std::clamp(std::nearbyintl(millivolts / kShownStep) * kShownStep, 0.0L, highest);
    // Within half a millivolt of a shown step counts as typed on it.
    const EntryLimit limit = std::fabs(static_cast<double>(millivolts - wanted)) > 0.5 ? EntryLimit::Between
                                                                                       : EntryLimit::None;
    // The position nearest the wanted voltage, then the nearest around it
    // whose shown voltage is the wanted one.
    const long double perPosition = rawMillivolts(1000, sourceGain) / 1000;
    const auto guess = static_cast<std::int32_t>(
        std::clamp(std::nearbyintl(wanted / perPosition), 0.0L, static_cast<long double>(highestPosition)));
    for (std::int32_t d = 0; d <= 200; ++d)
        for (const std::int32_t p : {guess - d, guess + d})
            if (p >= 0 && p <= highestPosition && ShownSourceMillivolts(p, sourceGain) == wanted) return {p, limit};
    return {guess, EntryLimit::Between};
}

BarEntry FrequencyEntry(double hz, std::int32_t lowest, std::int32_t highest) {
    if (!std::isfinite(hz) || hz < lowest - 0.5) return {lowest, EntryLimit::Below};
    if (hz > highest + 0.5) return {highest, EntryLimit::Above};
    const auto whole = static_cast<std::int32_t>(std::clamp<long>(std::lround(hz), lowest, highest));
    return {whole, std::fabs(hz - whole) > 1e-9 ? EntryLimit::Between : EntryLimit::None};
}

}  // namespace generator
