// The bench's reactive load in time: its steady state under a sine source
// against the circuit's impedance worked out with complex numbers, its
// transients against the textbook exponentials, and a resistor alone against
// today's resistive bench.
#include "bench/bench_rlc.h"
#include "bench/bench_rlc_parse.h"
#include "bench/bench_rlc_truth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>

namespace bench {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr std::int64_t kRate = 44100;

BenchRlc load(const std::string& description) {
    const BenchRlcParse parsed = parseBenchRlc(description);
    EXPECT_TRUE(parsed.load) << description << ": " << parsed.error;
    return parsed.load.value_or(BenchRlc{});
}

struct Measured {
    double ohms = 0;
    double phaseDegrees = 0;
    double currentMilliamps = 0;  // RMS
    double loadMillivolts = 0;    // RMS
    double milliwatts = 0;
};

// Drives the circuit with a sine of `rms` mV at `hz` for 1 s, then reads 2 s
// of current and load voltage through a Hann window: their phasors at hz and
// the mean of their product.
Measured steadyState(const BenchRlc& rlc, double hz, double rms) {
    BenchRlcCircuit circuit(rlc, kRate);
    const double omega = 2 * kPi * hz / kRate;
    std::int64_t n = 0;
    for (; n < kRate; ++n) circuit.step(rms * std::sqrt(2.0) * std::sin(omega * static_cast<double>(n)));
    const std::int64_t count = 2 * kRate;
    std::complex<double> current, voltage;
    double weights = 0, product = 0;
    for (std::int64_t k = 0; k < count; ++k, ++n) {
        const BenchProbe p = circuit.step(rms * std::sqrt(2.0) * std::sin(omega * static_cast<double>(n)));
        const double s = std::sin(kPi * (static_cast<double>(k) + 0.5) / count);
        const double w = s * s;
        const std::complex<double> turn = std::polar(w, -omega * static_cast<double>(n));
        current += p.currentMilliamps * turn;
        voltage += p.loadMillivolts * turn;
        weights += w;
        product += w * p.currentMilliamps * p.loadMillivolts;
        EXPECT_DOUBLE_EQ(p.shuntMillivolts, p.currentMilliamps * kBenchShuntOhms);
        EXPECT_DOUBLE_EQ(p.dividerMillivolts, p.loadMillivolts / 101);
    }
    Measured m;
    m.ohms = std::abs(voltage) / std::abs(current);
    m.phaseDegrees = std::arg(voltage / current) * 180 / kPi;
    m.currentMilliamps = std::abs(current) * std::sqrt(2.0) / weights;
    m.loadMillivolts = std::abs(voltage) * std::sqrt(2.0) / weights;
    m.milliwatts = product / weights / 1000;
    return m;
}

// In the steady state the simulated circuit shows the impedance, phase,
// current, voltage and power of the complex-number circuit, within 0.2 %
// (0.2 degrees for the phase), off resonance and at it.
TEST(BenchRlc, SteadyStateMatchesTheImpedance) {
    struct Case {
        const char* description;
        double hz;
    };
    const double resonance = 1 / (2 * kPi * std::sqrt(0.1 * 10e-6));  // 159.15 Hz
    for (const Case c : {Case{"R=100", 50}, {"R=100,C=10u", 20}, {"R=100,C=10u", 159.2}, {"R=100,C=10u", 1000},
                         {"R=10,L=100m", 20}, {"R=10,L=100m", 159.2}, {"R=10,L=100m", 1000},
                         {"R=10,L=100m,C=10u", 20}, {"R=10,L=100m,C=10u", resonance},
                         {"R=10,L=100m,C=10u", 1000}, {"L=10m", 700},
                         {"R=10k,L=1m,C=1u", 50}}) {  // stiff: decays in 0.1 us and in 10 ms
        const BenchRlc rlc = load(c.description);
        const BenchRlcTruth truth = benchRlcTruth(rlc, c.hz, 1000);
        const Measured got = steadyState(rlc, c.hz, 1000);
        const std::string what = std::string(c.description) + " at " + std::to_string(c.hz) + " Hz";
        EXPECT_NEAR(got.ohms / truth.ohms, 1, 2e-3) << what;
        EXPECT_NEAR(got.phaseDegrees, truth.phaseDegrees, 0.2) << what;
        EXPECT_NEAR(got.currentMilliamps / truth.currentMilliamps, 1, 2e-3) << what;
        EXPECT_NEAR(got.loadMillivolts / truth.loadMillivolts, 1, 2e-3) << what;
        EXPECT_NEAR(got.milliwatts, truth.milliwatts, 2e-3 * truth.currentMilliamps * truth.loadMillivolts / 1000)
            << what;
    }
    // The truth itself at resonance: the resistor with the divider across it.
    const BenchRlcTruth atResonance = benchRlcTruth(load("R=10,L=100m,C=10u"), resonance, 1000);
    EXPECT_NEAR(atResonance.ohms, 10 * 101000 / 101010.0, 1e-6);
    EXPECT_NEAR(atResonance.phaseDegrees, 0, 1e-6);
    EXPECT_NEAR(atResonance.currentMilliamps, 1000 / (1 + 10 * 101000 / 101010.0), 1e-6);
}

// A resistor alone gives today's resistive bench, frame by frame.
TEST(BenchRlc, AResistorAloneIsTheResistiveBench) {
    for (const double ohms : {0.0, 1.0, 100.0, 1e6}) {
        BenchRlcCircuit circuit(BenchRlc{ohms, {}, {}}, kRate);
        for (const double source : {0.0, 1234.5, -20000.0, 3.0}) {
            const BenchProbe got = circuit.step(source);
            const BenchProbe want = benchProbe(source, ohms);
            EXPECT_NEAR(got.currentMilliamps, want.currentMilliamps, 1e-12 * std::abs(want.currentMilliamps));
            EXPECT_NEAR(got.loadMillivolts, want.loadMillivolts, 1e-12 * std::abs(want.loadMillivolts) + 1e-15);
            EXPECT_NEAR(got.dividerMillivolts, want.dividerMillivolts, 1e-12 * std::abs(want.dividerMillivolts) + 1e-15);
        }
    }
}

// A source switched on at a frame's start charges a capacitor, builds up an
// inductor's current and rings a series resonant circuit as the textbook
// says: every frame holds the mean of the textbook's current over it.
TEST(BenchRlc, TransientsFollowTheCircuit) {
    const double g = 101000.0 / 101001.0;
    const double rEffective = 100 + g;  // R and the shunt as the load branch sees it
    const double h = 1.0 / kRate;
    const double amps = g * 1000 / rEffective;  // mA, the branch current with no L or C

    BenchRlcCircuit rc(load("R=100,C=10u"), kRate);
    BenchRlcCircuit rl(load("R=100,L=10m"), kRate);
    BenchRlcCircuit rlc(load("R=100,L=100m,C=1u"), kRate);
    const double tauRc = rEffective * 10e-6;
    const double tauRl = 10e-3 / rEffective;
    // R=100, L=100m, C=1u: i = g V / (L omega) e^(-alpha t) sin(omega t), whose
    // integral is ringing(t) * g V / (L omega).
    const double alpha = rEffective / 0.2;
    const double omega = std::sqrt(1 / (0.1 * 1e-6) - alpha * alpha);
    auto ringing = [&](double t) {
        return -std::exp(-alpha * t) * (alpha * std::sin(omega * t) + omega * std::cos(omega * t)) /
               (alpha * alpha + omega * omega);
    };
    // The branch current: the shunt's less the divider's share.
    auto branch = [](const BenchProbe& p) { return p.currentMilliamps - p.loadMillivolts / 101000; };
    for (int n = 0; n < 2000; ++n) {
        const double t0 = n * h, t1 = (n + 1) * h;
        const double decayRc = tauRc / h * (std::exp(-t0 / tauRc) - std::exp(-t1 / tauRc));
        EXPECT_NEAR(branch(rc.step(1000)), amps * decayRc, 1e-9) << n;
        const double decayRl = tauRl / h * (std::exp(-t0 / tauRl) - std::exp(-t1 / tauRl));
        EXPECT_NEAR(branch(rl.step(1000)), amps * (1 - decayRl), 1e-9) << n;
        const double ring = g * 1000 / (0.1 * omega) * (ringing(t1) - ringing(t0)) / h;
        EXPECT_NEAR(branch(rlc.step(1000)), ring, 1e-9) << n;
    }
    // At rest again after a reset.
    rlc.reset();
    EXPECT_EQ(rlc.step(0).currentMilliamps, 0);
}

// A capacitor with hardly any resistance (1 us against a 22.7 us frame)
// charges at each step of the staircase; the frame's mean still carries the
// whole charge, so |Z| is right, and the current lags the sine's by less than
// the staircase's half frame.
TEST(BenchRlc, AFastLoadLagsByHalfAFrameAtMost) {
    for (const double hz : {50.0, 1000.0}) {
        const BenchRlc rlc = load("C=1u");
        const BenchRlcTruth truth = benchRlcTruth(rlc, hz, 1000);
        const Measured got = steadyState(rlc, hz, 1000);
        const double halfFrame = 180 * hz / kRate;  // degrees
        EXPECT_NEAR(got.ohms / truth.ohms, 1, 2e-3) << hz;
        EXPECT_GT(got.phaseDegrees - truth.phaseDegrees, 0.8 * halfFrame) << hz;
        EXPECT_LT(got.phaseDegrees - truth.phaseDegrees, halfFrame) << hz;
    }
}

}  // namespace
}  // namespace bench
