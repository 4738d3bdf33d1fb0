#include "generator/sine_fill.h"

#include <cmath>
#include <numbers>

namespace generator {

std::int32_t SampleIndex(std::int32_t filledCount, std::int32_t samplesPerBuffer, std::int32_t s) {
    const std::uint32_t index = static_cast<std::uint32_t>(filledCount) * static_cast<std::uint32_t>(samplesPerBuffer) +
                                static_cast<std::uint32_t>(s);
    return static_cast<std::int32_t>(index);  // modular conversion (two's complement)
}

namespace {

std::int16_t low16(std::int64_t sample) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(sample)));
}

long double phaseArgument(std::int32_t index, std::int32_t frameRate, std::int32_t frequency) {
    const long double t = static_cast<long double>(index) / frameRate;
    return t * kCircleConstant * 2 * frequency;
}

// The default rounding mode (to nearest, ties to even) is never changed here,
// so rintl rounds as nearbyintl does, without saving the floating-point
// environment around it. |v| <= 2^31, so the value fits 64 bits.
std::int64_t nearest(long double v) {
    return static_cast<std::int64_t>(std::rintl(v));
}

// pi / 2 in three parts: 32 significant bits, the next 32 bits, the next 64.
// For |k| < 2^30, k * kHalfPi1 and k * kHalfPi2 are exact in extended precision.
constexpr long double kHalfPi1 = 0x1.921fb544p0L;
constexpr long double kHalfPi2 = 0x1.0b4611a6p-34L;
constexpr long double kHalfPi3 = 0x1.3198a2e03707344ap-69L;
constexpr long double kLargestFastArgument = 0x1p30L;
// sin(argument) * amplitude from the reduction below, formed in double, lies
// within |amplitude| * 5e-16 (< 1.1e-6 for any 32-bit amplitude, about 1e-11
// for the generator's) of what the extended sine gives; farther than this
// from a half-way point both round alike.
constexpr double kHalfwayMargin = 1e-5;

// The extended sine is slow for arguments beyond pi / 4 (each call reduces its
// argument to many bits). This reduction by multiples of pi / 2 carries an
// error below 2^-62 for the arguments the generator makes, and a double sine
// of the reduced argument is accurate to about 2e-16: enough to know the
// rounded sample, except within kHalfwayMargin of a half-way point, where the
// extended sine decides. The samples are the same bit for bit.
bool fastSample(long double argument, std::int32_t amplitude, std::int64_t& sample) {
    if (!(std::fabs(argument) < kLargestFastArgument)) return false;
    // The multiple of pi / 2 nearest to the argument; one beside it serves as well.
    const double quarters = std::rint(static_cast<double>(argument) * (2 / std::numbers::pi));
    const auto k = static_cast<long double>(quarters);
    const double reduced = static_cast<double>(((argument - k * kHalfPi1) - k * kHalfPi2) - k * kHalfPi3);
    double x = 0;
    switch (static_cast<std::int64_t>(quarters) & 3) {
        case 0: x = std::sin(reduced); break;
        case 1: x = std::cos(reduced); break;
        case 2: x = -std::sin(reduced); break;
        default: x = -std::cos(reduced); break;
    }
    const double v = x * amplitude;
    const double rounded = std::rint(v);
    if (std::fabs(v - rounded) > 0.5 - kHalfwayMargin) return false;  // near a half-way point
    sample = static_cast<std::int64_t>(rounded);
    return true;
}

}  // namespace

std::int16_t SineSampleReference(std::int32_t index, std::int32_t frameRate, std::int32_t amplitude,
                                 std::int32_t frequency) {
    if (frameRate <= 0) return 0;
    const long double x = std::sin(phaseArgument(index, frameRate, frequency));
    return low16(nearest(x * amplitude));
}

std::int16_t SineSample(std::int32_t index, std::int32_t frameRate, std::int32_t amplitude,
                        std::int32_t frequency) {
    if (frameRate <= 0) return 0;
    std::int64_t sample = 0;
    if (fastSample(phaseArgument(index, frameRate, frequency), amplitude, sample)) return low16(sample);
    return SineSampleReference(index, frameRate, amplitude, frequency);
}

bool FillSine(char* Buffer, std::int32_t& Size, std::int32_t filledCount, std::int32_t frameRate,
              std::int32_t amplitude, std::int32_t frequency) {
    const std::int32_t n = Size / 2;
    if (n <= 0) return true;
    if (Buffer == nullptr) return false;
    auto* bytes = reinterpret_cast<unsigned char*>(Buffer);
    for (std::int32_t s = 0; s < n; ++s) {
        const auto sample = static_cast<std::uint16_t>(
            SineSample(SampleIndex(filledCount, n, s), frameRate, amplitude, frequency));
        bytes[2 * s] = static_cast<unsigned char>(sample & 0xFF);
        bytes[2 * s + 1] = static_cast<unsigned char>(sample >> 8);
    }
    return true;
}

}  // namespace generator
