// One buffer of the sine generator (4096 samples at 22050 Hz) an hour into
// playing, by the fill routine and by the literal extended-precision formula.
#include "generator/sine_fill.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr std::int32_t kRate = 22050;
constexpr std::int32_t kSamples = 4096;
constexpr std::int32_t kHourIn = 3600 * kRate / kSamples;  // buffers filled after an hour

void BM_FillBuffer(benchmark::State& bench) {
    std::vector<char> buffer(2 * kSamples);
    for (auto _ : bench) {
        std::int32_t size = 2 * kSamples;
        generator::FillSine(buffer.data(), size, kHourIn, kRate, 22400, 50);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillBuffer)->Unit(benchmark::kMicrosecond);

void BM_FillBufferLiterally(benchmark::State& bench) {
    std::vector<std::int16_t> samples(kSamples);
    for (auto _ : bench) {
        for (std::int32_t s = 0; s < kSamples; ++s)
            samples[static_cast<std::size_t>(s)] = generator::SineSampleReference(
                generator::SampleIndex(kHourIn, kSamples, s), kRate, 22400, 50);
        benchmark::DoNotOptimize(samples.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillBufferLiterally)->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();
