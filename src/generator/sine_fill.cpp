#include "generator/sine_fill.h"

#include <cmath>

namespace generator {

std::int32_t SampleIndex(std::int32_t filledCount, std::int32_t samplesPerBuffer, std::int32_t s) {
    const std::uint32_t index = static_cast<std::uint32_t>(filledCount) * static_cast<std::uint32_t>(samplesPerBuffer) +
                                static_cast<std::uint32_t>(s);
    return static_cast<std::int32_t>(index);  // modular conversion (two's complement)
}

std::int16_t SineSample(std::int32_t index, std::int32_t frameRate, std::int32_t amplitude,
                        std::int32_t frequency) {
    if (frameRate <= 0) return 0;
    const long double t = static_cast<long double>(index) / frameRate;
    const long double x = std::sin(t * kCircleConstant * 2 * frequency);
    // The default rounding mode (to nearest, ties to even) is never changed
    // here. |x * amplitude| <= 2^31, so the value fits 64 bits.
    const auto sample = static_cast<std::int64_t>(std::nearbyintl(x * amplitude));
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(sample)));
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
