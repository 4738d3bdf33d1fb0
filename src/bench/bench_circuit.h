#pragma once
// The bench's measuring unit as numbers: the generator's samples become the
// source voltage, the source drives the load in series with the 1 ohm shunt,
// the 100 kilohm : 1 kilohm divider sits across the load, and the line input
// turns the shunt voltage (left) and the divider's output (right) into
// samples, scaled so that the instruments read the circuit's true current and
// voltage.
namespace bench {

inline constexpr double kBenchShuntOhms = 1.0;
inline constexpr double kBenchDividerTopOhms = 100'000.0;
inline constexpr double kBenchDividerBottomOhms = 1'000.0;

// Source: a sine of peak amplitude A (sample units) has an RMS voltage of
// A * 3.5 / 22 mV at full output volume, the scale of the source's digital
// readout. So one sample unit is 3.5 / 22 * sqrt(2) mV of instantaneous
// voltage; `outputGain` (0..1, the card's output volumes) scales it.
double benchSourceMillivolts(double sample, double outputGain);

struct BenchProbe {
    double currentMilliamps = 0;  // through the shunt (the circuit's current)
    double shuntMillivolts = 0;   // across the shunt: the left line input
    double loadMillivolts = 0;    // across the load
    double dividerMillivolts = 0; // the divider's output: the right line input
};

// The circuit for a source voltage (any sign) and a load (ohms, >= 0).
BenchProbe benchProbe(double sourceMillivolts, double loadOhms);

// Line-input samples per millivolt at the two inputs, at full recording volume.
//
// The ammeter reads mA = r * 0.0142, where r is the RMS of 5000 values of
// which 2500 are the block's (smoothed) samples and 2500 are zeros, so
// r = RMS(samples) / sqrt(2); its smoothing (divisor 2 at 44100 Hz) passes
// 50 Hz with a gain of 0.99995. For the reading to be the true current I (mA),
// whose shunt voltage is I mV across 1 ohm: RMS(samples) = sqrt(2) * I / 0.0142,
// so the left input takes sqrt(2) / 0.0142 = 99.6 samples per mV.
//
// The voltmeter reads mV = |r * 37 - 80| / 24 (divisor 4, gain 0.99977 at
// 50 Hz). Leaving out its fixed offset of 80 / 24 = 3.3 mV, the reading is the
// load voltage U (mV) when r = U * 24 / 37, i.e. RMS(samples) =
// sqrt(2) * 24 / 37 * U. The divider passes U * 1 / 101, so the right input
// takes 101 * sqrt(2) * 24 / 37 = 92.6 samples per mV.
double benchLeftSamplesPerMillivolt();
double benchRightSamplesPerMillivolt();

}  // namespace bench
