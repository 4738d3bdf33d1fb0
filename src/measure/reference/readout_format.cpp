#include "measure/reference/readout_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace measure {

namespace {

// Fixed-point text of an extended value with `decimals` decimals; always a
// '.' as the separator, whatever the process locale says. Room for every
// digit of the largest extended value (4933 before the point).
std::string fixedText(long double value, int decimals) {
    std::string text(4960, '\0');
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
    text.resize(result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - text.data()) : 0);
    return text;
}

// Whole values below this print as integers, exactly as fixedText prints them.
constexpr long double kExactWholeLimit = 0x1p53L;

// The sign of `whole` (a negative zero included) and the digits of
// |whole| / divisor; |whole| < kExactWholeLimit.
std::string signedDigits(long double whole, std::uint64_t divisor) {
    char text[32];
    char* p = text;
    if (std::signbit(whole)) *p++ = '-';
    p = std::to_chars(p, text + sizeof text, static_cast<std::uint64_t>(std::fabs(whole)) / divisor).ptr;
    return std::string(text, p);
}

// fixedText(whole * 10 / 1000, 2) for a whole number, without the library's
// general conversion (the readouts are formatted on every pass). For
// |whole| < 2^53 the extended quotient lies within 2^-11 of whole / 100, so
// its two-decimal rounding is whole / 100 itself: the sign, whole / 100, '.',
// and the two last digits. Other values take the general way.
std::string hundredthsText(long double whole) {
    if (!(std::fabs(whole) < kExactWholeLimit)) return fixedText(whole * 10 / 1000, 2);
    const auto cents = static_cast<unsigned>(static_cast<std::uint64_t>(std::fabs(whole)) % 100);
    std::string text = signedDigits(whole, 100);
    text += '.';
    text += static_cast<char>('0' + cents / 10);
    text += static_cast<char>('0' + cents % 10);
    return text;
}

// fixedText(whole, 0) for a whole number, the same way.
std::string wholeText(long double whole) {
    if (!(std::fabs(whole) < kExactWholeLimit)) return fixedText(whole, 0);
    return signedDigits(whole, 1);
}

// nearest(value / 10) * 10 / 1000 with two decimals, all in extended precision.
// The rounding is the default round-to-nearest-even mode, which this program
// never changes.
std::string tenMilliText(double milliValue) {
    return hundredthsText(std::nearbyintl(static_cast<long double>(milliValue) / 10));
}

}  // namespace

std::string formatVoltmeterReadout(double millivolts) {
    return tenMilliText(millivolts) + " V";
}

std::string formatAmmeterReadout(double milliamperes) {
    if (milliamperes >= 1000) return tenMilliText(milliamperes) + " A";
    std::string digits = wholeText(std::nearbyintl(static_cast<long double>(milliamperes)));
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), ' ');
    return digits;
}

}  // namespace measure
