#include "generator/track_bar_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace generator {

// All roundings below use the default rounding mode (to nearest, an exact half
// to the even neighbour), which this program never changes. Every operand is
// a 32-bit integer, so each rounded value fits 64 bits.

std::int32_t AmplitudeFromPosition(std::int32_t position) {
    // 0.7 as the extended constant: 5 * 0.7 is then exactly 3.5 and goes to 4.
    return static_cast<std::int32_t>(std::nearbyintl(position * 0.7L));
}

namespace {

std::string voltsText(long double millivolts) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, millivolts / 1000, std::chars_format::fixed, 2);
    return std::string(text, result.ptr) + " V";
}

}  // namespace

std::string SourceVoltageText(std::int32_t amplitude) {
    const long double steps = std::nearbyintl(static_cast<long double>(amplitude) / 22 * 3.5L / 20);
    return voltsText(steps * 20);
}

std::string CalibratedSourceVoltageText(long double millivolts) {
    if (!std::isfinite(millivolts)) millivolts = 0;
    return voltsText(std::nearbyintl(millivolts / 20) * 20);
}

std::int32_t FrequencyFromPosition(std::int32_t position) {
    return position < kLowestFrequency ? kLowestFrequency : position;
}

std::int32_t DisplayedFrequency(std::int32_t frequency) {
    const long double shown = std::nearbyintl(static_cast<long double>(frequency) / 5) * 5;
    // Only the 32-bit extremes can round past 32 bits; hold them at the limit.
    return static_cast<std::int32_t>(std::clamp<long double>(shown, std::numeric_limits<std::int32_t>::min(),
                                                             std::numeric_limits<std::int32_t>::max()));
}

std::string FrequencyPanelCaption(std::int32_t frequency) {
    return std::to_string(DisplayedFrequency(frequency)) + " Hz";
}

std::string FrequencyEditText(std::int32_t frequency) {
    std::string text(" ");
    text += FrequencyPanelCaption(frequency);
    return text;
}

}  // namespace generator
