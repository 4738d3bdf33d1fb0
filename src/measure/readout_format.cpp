#include "measure/readout_format.h"

#include <charconv>
#include <cmath>

namespace measure {

namespace {

// Fixed-point text of an extended value with `decimals` decimals; always a
// '.' as the separator, whatever the process locale says.
std::string fixedText(long double value, int decimals) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

// nearest(value / 10) * 10 / 1000 with two decimals, all in extended precision.
// The rounding is the default round-to-nearest-even mode, which this program
// never changes.
std::string tenMilliText(double milliValue) {
    const long double tens = std::nearbyintl(static_cast<long double>(milliValue) / 10);
    return fixedText(tens * 10 / 1000, 2);
}

}  // namespace

std::string formatVoltmeterReadout(double millivolts) {
    return tenMilliText(millivolts) + " V";
}

std::string formatAmmeterReadout(double milliamperes) {
    if (milliamperes >= 1000) return tenMilliText(milliamperes) + " A";
    std::string digits = fixedText(std::nearbyintl(static_cast<long double>(milliamperes)), 0);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), ' ');
    return digits;
}

}  // namespace measure
