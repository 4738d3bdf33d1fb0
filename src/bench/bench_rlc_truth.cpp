#include "bench/bench_rlc_truth.h"

#include <complex>
#include <numbers>

namespace bench {

BenchRlcTruth benchRlcTruth(const BenchRlc& load, double hz, double sourceMillivolts) {
    using Complex = std::complex<double>;
    const double omega = 2 * std::numbers::pi * hz;
    Complex z = load.ohms;
    if (load.henries) z += Complex(0, omega * *load.henries);
    if (load.farads) z += Complex(0, -1 / (omega * *load.farads));
    const double divider = kBenchDividerTopOhms + kBenchDividerBottomOhms;
    const Complex seen = z * divider / (z + divider);  // the load with the divider across it
    const Complex current = sourceMillivolts / (seen + kBenchShuntOhms);
    const Complex voltage = current * seen;

    BenchRlcTruth t;
    t.ohms = std::abs(seen);
    t.phaseDegrees = std::arg(seen) * 180 / std::numbers::pi;
    t.currentMilliamps = std::abs(current);
    t.loadMillivolts = std::abs(voltage);
    t.milliwatts = std::norm(current) * seen.real() / 1000;  // mA^2 ohm = uW
    t.loadOhms = std::abs(z);
    t.loadPhaseDegrees = std::arg(z) * 180 / std::numbers::pi;
    return t;
}

}  // namespace bench
