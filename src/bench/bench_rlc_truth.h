#pragma once
// What the bench's reactive load shows in the steady state of a sine source:
// the values a perfect pair of instruments would read, the load taken with
// the divider across it, as the ammeter (shunt current) and the voltmeter
// (load voltage) see it; and the load's own impedance and phase, without the
// divider.
#include "bench/bench_rlc.h"

namespace bench {

struct BenchRlcTruth {
    double ohms = 0;              // |Z| = U / I
    double phaseDegrees = 0;      // of U against I, positive when the voltage leads
    double currentMilliamps = 0;  // I through the shunt, RMS
    double loadMillivolts = 0;    // U across the load, RMS
    double milliwatts = 0;        // active power into the load and the divider
    double loadOhms = 0;          // the load's own |Z|
    double loadPhaseDegrees = 0;  // the load's own phase
};

// For a source of `sourceMillivolts` RMS at `hz` (> 0).
BenchRlcTruth benchRlcTruth(const BenchRlc& load, double hz, double sourceMillivolts);

}  // namespace bench
