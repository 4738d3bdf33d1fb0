#pragma once
// The bench with a reactive load: a series resistor, inductor and capacitor
// (any of them left out) in place of the load resistor, with the 1 ohm shunt
// in series and the 101 kilohm divider across the load, as in
// bench_circuit.h.
//
// BenchRlcCircuit follows the circuit in time, one line-input frame at a
// time. The source holds each frame's voltage for one frame period (a
// staircase), and the line input records the circuit's mean over that period.
// Over a frame the circuit's state (the inductor's current, the capacitor's
// voltage) relaxes exactly towards its rest value for the held source,
//   x(t) = x_rest + e^(A t) (x(0) - x_rest),
// whose mean over the frame follows from its two ends:
//   integral of (x - x_rest) = A^-1 (x(h) - x(0)).
// So phase shifts and transients are the circuit's own whatever the frame
// rate, and with the load a resistor alone the values are benchProbe()'s.
//
// Against a smooth sine source the staircase lags by half a frame and is
// smoothed by sinc(pi f / rate), and taking the frame's mean smooths once more
// while taking the lag back. A load that is slow against a frame (time
// constants of several frames and more) so shows the sine's phase; its current
// comes out sinc^2 low where the inductor or capacitor sets it, so |Z| reads
// up to 0.17 % high at 1 kHz (0.0007 % at 20 Hz). A load faster than that (a
// capacitor with almost no resistance, which charges within microseconds at
// each step of the staircase) still has its whole charge in the frame's mean,
// but its current keeps part of the lag: up to 180 * f / rate degrees
// (0.2 degrees at 50 Hz, 4 degrees at 1 kHz).
//
// Units: mV, mA, ohms, henries, farads, seconds (H * mA / s = mV).
#include "bench/bench_circuit.h"
#include "bench/bench_rlc_exponential.h"

#include <cstdint>
#include <optional>

namespace bench {

struct BenchRlc {
    double ohms = 0;                // R >= 0; 0: a wire
    std::optional<double> henries;  // L > 0; none: a wire
    std::optional<double> farads;   // C > 0; none: a wire
};

class BenchRlcCircuit {
public:
    // `rate`: line-input frames per second (> 0). Starts at rest: no current,
    // the capacitor discharged.
    BenchRlcCircuit(const BenchRlc& load, std::int64_t rate);

    // The next frame: the circuit's mean over it with the source held at
    // `sourceMillivolts`; the state moves on to the frame's end.
    BenchProbe step(double sourceMillivolts);

    void reset();

private:
    // The probe for the inductor's current `branch` (mA) and the source.
    BenchProbe probe(double sourceMillivolts, double branch) const;

    BenchRlc load_;
    double g_;          // divider / (divider + shunt): the load voltage per source volt with no load current
    double rEffective_; // R + g * shunt: the resistance the load branch sees
    double frame_;      // h, seconds
    Matrix2 step_;      // e^(A h) on (inductor current, capacitor voltage)
    Matrix2 inverse_;   // A^-1 on the states that move (0 on those that do not)
    double current_ = 0;    // through the inductor (the load branch), mA, at the next frame's start
    double capacitor_ = 0;  // across the capacitor, mV, likewise
};

}  // namespace bench
