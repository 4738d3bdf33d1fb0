// The lab's fits on a sweep of R = 100 Ω, L = 100 mH, C = 1 µF from 20 Hz to
// 1 kHz with the card's noise: the resonance of 500 points (to follow a
// sweep point by point it must take at most 20 ms), of 30 (a sweep as the
// lesson makes it), the impedance and the phase of 500, and the line.
//
//   fit_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include "lab/fit/fit.h"
#include "support/series_circuit.h"

#include <benchmark/benchmark.h>

namespace {

using lab::fit::Model;

testsupport::SweepPoints sweepOf(int points) {
    const testsupport::SeriesCircuit circuit;
    return testsupport::sweep(circuit, testsupport::logSteps(20, 1000, points),
                              {.milliamps = 0.01 * circuit.milliamps(1000), .degrees = 0.5, .seed = 42});
}

void fitEach(benchmark::State& bench, Model model, const std::vector<double>& x, const std::vector<double>& y) {
    for (auto _ : bench) {
        lab::fit::FitResult result = lab::fit::fitPoints(model, {x, y});
        if (!result) {
            bench.SkipWithError(result.failure.toStdString().c_str());
            return;
        }
        benchmark::DoNotOptimize(result.fit->parameters.data());
    }
    bench.SetItemsProcessed(static_cast<std::int64_t>(bench.iterations() * x.size()));
}

void BM_Resonance(benchmark::State& bench) {
    const auto s = sweepOf(static_cast<int>(bench.range(0)));
    fitEach(bench, Model::Resonance, s.hz, s.milliamps);
}
BENCHMARK(BM_Resonance)->Arg(500)->Arg(30)->Unit(benchmark::kMillisecond);

void BM_Impedance(benchmark::State& bench) {
    const auto s = sweepOf(static_cast<int>(bench.range(0)));
    fitEach(bench, Model::Impedance, s.hz, s.ohms);
}
BENCHMARK(BM_Impedance)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_Phase(benchmark::State& bench) {
    const auto s = sweepOf(static_cast<int>(bench.range(0)));
    fitEach(bench, Model::Phase, s.hz, s.degrees);
}
BENCHMARK(BM_Phase)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_Line(benchmark::State& bench) {
    const auto s = sweepOf(static_cast<int>(bench.range(0)));
    fitEach(bench, Model::Line, s.hz, s.milliamps);
}
BENCHMARK(BM_Line)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
