// One idle pass of the measurement engine with nothing to redraw: both
// channels measured over a recorded block, then the three range passes with
// drawing callbacks that do nothing.
#include "measure/reference/buffer_filled.h"
#include "measure/reference/channel_measurement.h"
#include "measure/reference/range_pass.h"
#include "measure/true_rms/true_rms_meter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr std::int32_t kBlockBytes = 10000;

// state.Calibration: none (the reference arithmetic) or a card's profile (the
// true-RMS path, its reading taken from the meter after the block).
void idlePassNoRedraw(benchmark::State& bench, bool profile) {
    auto state = std::make_unique<measure::MeasurementState>();
    if (profile) state->Calibration = measure::CalibrationFactors{2.0, 2.0, 1.6, true};
    // A 50 Hz sine of about 120 mA on the left, 5 V on the right, with some noise.
    std::vector<char> block;
    for (int i = 0; i < 2500; ++i) {
        const double phase = 2 * M_PI * 50 * i / 44100.0;
        for (const double v : {12000 * std::sin(phase) + (i * 7919 % 61) - 30, 280 * std::sin(phase)}) {
            const auto u = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v)));
            block.push_back(static_cast<char>(u & 0xFF));
            block.push_back(static_cast<char>(u >> 8));
        }
    }
    std::int32_t size = kBlockBytes;
    measure::AudioIn1BufferFilled(*state, block.data(), size);
    measure::TrueRmsMeter meter;
    for (int i = 0; i < 8; ++i) meter.addBlock(state->Samples1.data(), 2500);
    state->LineInput = meter.reading();
    state->GeneratorAmplitude = 100;
    const measure::InstrumentDrawing nothing{[](int) {}, [] {}};
    for (auto _ : bench) {
        std::string panel2 = measure::MeasureVoltage(*state, kBlockBytes);
        std::string panel3 = measure::MeasureCurrent(*state, kBlockBytes);
        measure::VoltmeterPass(*state, nothing);
        measure::AmmeterPass(*state, nothing);
        measure::SourcePass(*state, nothing);
        benchmark::DoNotOptimize(panel2);
        benchmark::DoNotOptimize(panel3);
        benchmark::ClobberMemory();
    }
    bench.counters["mA"] = state->AmmeterValue;
    bench.counters["mV"] = state->VoltmeterValue;
}

void BM_IdlePassNoRedraw(benchmark::State& bench) { idlePassNoRedraw(bench, false); }
BENCHMARK(BM_IdlePassNoRedraw)->Unit(benchmark::kMicrosecond);

void BM_IdlePassNoRedrawWithProfile(benchmark::State& bench) { idlePassNoRedraw(bench, true); }
BENCHMARK(BM_IdlePassNoRedrawWithProfile)->Unit(benchmark::kMicrosecond);

// The true-RMS meter's work on one recorded block of 2500 frames: the 0.3 s
// window's sums, the frequency and the phase (a 50 Hz current and a voltage
// leading it by 30 degrees). Reading the result afterwards costs nothing.
// The block holds three whole periods (52.92 Hz), so adding it again and again
// records a steady signal.
void BM_TrueRmsMeterBlock(benchmark::State& bench) {
    measure::TrueRmsMeter meter;
    std::vector<std::int16_t> block(2 * 2500);
    for (int i = 0; i < 2500; ++i) {
        const double phase = 2 * M_PI * 3 * i / 2500.0;
        block[2 * i] = static_cast<std::int16_t>(std::lround(12000 * std::sin(phase) + (i * 7919 % 61) - 30));
        block[2 * i + 1] = static_cast<std::int16_t>(std::lround(9000 * std::sin(phase + M_PI / 6)));
    }
    for (int i = 0; i < 8; ++i) meter.addBlock(block.data(), 2500);  // past the warm-up
    for (auto _ : bench) {
        meter.addBlock(block.data(), 2500);
        benchmark::DoNotOptimize(meter.reading().phaseDegrees);
    }
    bench.counters["Hz"] = meter.reading().frequencyHz;
    bench.counters["deg"] = meter.reading().phaseDegrees;
}
BENCHMARK(BM_TrueRmsMeterBlock)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
