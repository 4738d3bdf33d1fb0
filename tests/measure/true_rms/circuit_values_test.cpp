// The circuit's quantities on generated line-input signals: low levels in
// noise, and what has no signal (noise, a DC level, silence, a leak from the
// other channel); the phase of the fundamentals on a distorted current; half
// a turn without flipping sign; and the load's own |Z|, phase and power with
// the divider's current taken out of the shunt's.
#include "measure/true_rms/circuit_values.h"
#include "measure/true_rms/true_rms_meter.h"
#include "support/line_signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

namespace measure {
namespace {

using testsupport::kFullScale;
using testsupport::LineRecording;
using testsupport::LineSignal;
using testsupport::sineWave;
using testsupport::withNoise;

constexpr double kPi = std::numbers::pi;
// One sample unit: 0.01 mA on the current's channel, 1 mV on the voltage's.
constexpr double kMilliampsPerSample = 0.01;
constexpr double kMillivoltsPerSample = 1.0;

CircuitValues valuesOf(const CircuitReading& r) { return circuitValues(r, kMilliampsPerSample, kMillivoltsPerSample); }

TEST(CircuitValues, LowLevelsInNoiseHaveTheirPhaseAndNoSignalHasNoNumbers) {
    const double noise = 0.0005 * kFullScale;  // 16 units RMS
    for (const double level : {0.005, 0.01}) {
        for (const double lead : {-60.0, 0.0, 45.0}) {
            TrueRmsMeter meter;
            LineRecording rec(meter, withNoise(sineWave(level * kFullScale, 50), noise, 1),
                              withNoise(sineWave(level * kFullScale, 50, lead), noise, 2));
            rec.warmUp();
            for (int block = 0; block < 20; ++block) {
                const CircuitReading& r = rec.block();
                ASSERT_TRUE(r.current.signal && r.voltage.signal && r.phaseKnown) << level << " " << lead;
                EXPECT_NEAR(r.phaseDegrees, lead, 0.5) << level;
                EXPECT_NEAR(r.frequencyHz, 50, 0.1) << level;  // the crossings jitter in the noise
            }
        }
    }

    // The same noise on both channels (it would read as a resistor), unrelated
    // noises, a DC level with and without noise, silence.
    auto shared = std::make_shared<double>(0);
    const LineSignal mono = [shared, n = withNoise([](double) { return 0.0; }, noise, 3)](double t) {
        return *shared = n(t);
    };
    const LineSignal same = [shared](double) { return *shared; };
    const LineSignal dc = [](double) { return 0.3 * kFullScale; };
    const struct {
        const char* what;
        LineSignal current, voltage;
    } nothing[] = {{"mono noise", mono, same},
                   {"noises", withNoise(dc, noise, 4), withNoise([](double) { return -100.0; }, noise, 5)},
                   {"DC", dc, [](double) { return -5000.0; }},
                   {"silence", [](double) { return 0.0; }, [](double) { return 0.0; }}};
    for (const auto& c : nothing) {
        TrueRmsMeter meter;
        LineRecording rec(meter, c.current, c.voltage);
        rec.warmUp();
        for (int block = 0; block < 20; ++block) {
            const CircuitReading& r = rec.block();
            const CircuitValues v = valuesOf(r);
            EXPECT_FALSE(r.current.signal || r.voltage.signal || r.phaseKnown) << c.what;
            EXPECT_FALSE(v.frequencyHz || v.phaseDegrees || v.ohms || v.powerFactor) << c.what;
        }
    }
}

// The phase is that of the fundamentals, and the power factor the active
// power's share of U I: on a current with harmonics it is cos(phi) times the
// fundamental's share of the current, not cos(phi).
TEST(CircuitValues, ADistortedCurrentHasTheFundamentalsPhase) {
    TrueRmsMeter meter;
    const LineSignal current = [](double t) {
        const double w = 2 * kPi * 50 * t;
        return 8000 * std::sin(w) + 2400 * std::sin(3 * w + 0.7) + 1600 * std::sin(5 * w);
    };
    LineRecording rec(meter, current, sineWave(20000, 50, 30));
    rec.warmUp();
    const CircuitReading& r = rec.block();
    ASSERT_TRUE(r.phaseKnown);
    EXPECT_NEAR(r.phaseDegrees, 30, 0.02);
    const double share = 8000 / std::sqrt(8000.0 * 8000 + 2400 * 2400 + 1600 * 1600);
    EXPECT_NEAR(r.powerFactor, std::cos(30 * kPi / 180) * share, 1e-3);
    EXPECT_NEAR(r.current.fundamental, 8000 / std::numbers::sqrt2, 8);
}

// A current reversed against the voltage (half a turn, in noise) stays on one
// side block after block, so that a column of it averages what it shows; it
// changes side only once it is well past.
TEST(CircuitValues, HalfATurnKeepsItsSign) {
    const double noise = 0.0005 * kFullScale;
    TrueRmsMeter meter;
    LineRecording rec(meter, withNoise(sineWave(0.01 * kFullScale, 50), noise, 6),
                      withNoise(sineWave(-0.01 * kFullScale, 50), noise, 7));
    rec.warmUp();
    const double first = rec.block().phaseDegrees;
    double sum = 0;
    for (int block = 0; block < 60; ++block) {
        const CircuitReading& r = rec.block();
        ASSERT_TRUE(r.phaseKnown);
        EXPECT_GT(r.phaseDegrees * first, 0) << block;
        sum += r.phaseDegrees;
    }
    EXPECT_NEAR(std::fabs(sum / 60), 180, 0.5);

    EXPECT_EQ(phaseOnBranch(178, -184, 5), -182);
    EXPECT_EQ(phaseOnBranch(-174, 184, 5), -174);  // 186: beyond the band
}

// The unit's signals for a series R = 1 kohm, C = 1 uF at 20 Hz: the shunt
// carries the load's current and the divider's, U / 101 kohm. Taken out, |Z|,
// the phase and the power are the load's (8020 ohm, -82.8 degrees), not those
// of the load with the divider across it (7922 ohm, -78.4 degrees); an open
// circuit has none; a channel that only leaks from the other has no signal.
TEST(CircuitValues, TheLoadsOwnValuesWithoutTheDivider) {
    using Complex = std::complex<double>;
    const double hz = 20;
    const Complex z(1000, -1 / (2 * kPi * hz * 1e-6));
    const double volts = 20000;  // peak, voltage channel units = mV
    const Complex load = volts / z;
    const double divider = volts / kDividerOhms;
    auto shunt = [=](bool withLoad) {
        return [=](double t) {
            const double w = 2 * kPi * hz * t;
            const double i = divider * std::sin(w) + (withLoad ? std::abs(load) * std::sin(w + std::arg(load)) : 0);
            return i / kMilliampsPerSample;
        };
    };
    TrueRmsMeter meter;
    LineRecording rec(meter, shunt(true), sineWave(volts, hz));
    rec.warmUp();
    const CircuitValues v = valuesOf(rec.block());
    ASSERT_TRUE(v.ohms && v.phaseDegrees && v.powerFactor);
    EXPECT_NEAR(*v.ohms / std::abs(z), 1, 1e-3);
    EXPECT_NEAR(*v.phaseDegrees, std::arg(z) * 180 / kPi, 0.05);
    const double watts = std::norm(load) / 2 * z.real() / 1000;  // mA^2 ohm = uW
    EXPECT_NEAR(v.milliwatts / watts, 1, 2e-3);
    EXPECT_NEAR(*v.powerFactor, std::cos(std::arg(z)), 1e-3);
    EXPECT_NEAR(v.loadMilliamps, std::abs(load) / std::numbers::sqrt2, 1e-3 * std::abs(load));
    // What the ammeter measures stays the shunt's current.
    EXPECT_NEAR(v.milliamps, std::abs(load + divider) / std::numbers::sqrt2, 1e-3 * std::abs(load));

    TrueRmsMeter open;
    LineRecording openRec(open, shunt(false), sineWave(volts, hz));
    openRec.warmUp();
    const CircuitValues o = valuesOf(openRec.block());
    EXPECT_TRUE(o.frequencyHz);
    EXPECT_GT(o.milliamps, 0.1);  // the divider's current, resolved
    EXPECT_FALSE(o.ohms || o.phaseDegrees || o.powerFactor);
    EXPECT_LT(std::fabs(o.milliwatts), 1e-2 * o.millivolts * o.milliamps / 1000);  // 16-bit rounding of 14 units

    TrueRmsMeter leak;
    LineRecording leakRec(leak, sineWave(7, 50), sineWave(32000, 50));
    leakRec.warmUp();
    const CircuitReading& l = leakRec.block();
    EXPECT_TRUE(l.voltage.signal);
    EXPECT_FALSE(l.current.signal || l.phaseKnown);
}

}  // namespace
}  // namespace measure
