#pragma once
// The sine generator's fill routine: computes one buffer of the player's
// 16-bit mono stream from the generator settings.
#include <cstdint>

namespace generator {

// The circle constant the generator uses (not the full-precision pi).
inline constexpr long double kCircleConstant = 3.14159L;

// Absolute index of sample `s` of the buffer filled as number `filledCount`
// since the player was opened, with `samplesPerBuffer` samples per buffer:
// filledCount * samplesPerBuffer + s in 32 bits. The index wraps in two's
// complement (after 2^31 samples it turns negative), by definition.
std::int32_t SampleIndex(std::int32_t filledCount, std::int32_t samplesPerBuffer, std::int32_t s);

// The sample at an absolute index: t := index / frameRate (extended),
// x := sin(t * 3.14159 * 2 * frequency), products in that order;
// nearest(x * amplitude), an exact half to the even neighbour, low 16 bits.
// A frame rate of 0 or below gives silence. Computed by a faster route that
// gives the same samples as SineSampleReference, bit for bit.
std::int16_t SineSample(std::int32_t index, std::int32_t frameRate, std::int32_t amplitude,
                        std::int32_t frequency);

// The same sample computed literally, with the extended sine.
std::int16_t SineSampleReference(std::int32_t index, std::int32_t frameRate, std::int32_t amplitude,
                                 std::int32_t frequency);

// AudioOut1's fill event: n := Size div 2 samples, little-endian signed 16-bit,
// starting at the absolute index filledCount * n, so that consecutive buffers
// join without a break. Size is left unchanged. Returns true (the buffer is to
// be played); false only when Buffer is null while Size asks for samples.
bool FillSine(char* Buffer, std::int32_t& Size, std::int32_t filledCount, std::int32_t frameRate,
              std::int32_t amplitude, std::int32_t frequency);

}  // namespace generator
