#include "bench/bench_circuit.h"

#include <cmath>

namespace bench {
namespace {
const double kSqrt2 = std::sqrt(2.0);
}

double benchSourceMillivolts(double sample, double outputGain) { return sample * 3.5 / 22.0 * kSqrt2 * outputGain; }

BenchProbe benchProbe(double sourceMillivolts, double loadOhms) {
    const double divider = kBenchDividerTopOhms + kBenchDividerBottomOhms;
    const double parallel = loadOhms * divider / (loadOhms + divider);  // load with the divider across it
    BenchProbe p;
    p.currentMilliamps = sourceMillivolts / (parallel + kBenchShuntOhms);
    p.shuntMillivolts = p.currentMilliamps * kBenchShuntOhms;
    p.loadMillivolts = p.currentMilliamps * parallel;
    p.dividerMillivolts = p.loadMillivolts * kBenchDividerBottomOhms / divider;
    return p;
}

double benchLeftSamplesPerMillivolt() { return kSqrt2 / 0.0142 / kBenchShuntOhms; }

double benchRightSamplesPerMillivolt() {
    return (kBenchDividerTopOhms + kBenchDividerBottomOhms) / kBenchDividerBottomOhms * kSqrt2 * 24.0 / 37.0;
}

}  // namespace bench
