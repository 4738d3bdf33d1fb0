#pragma once
// The bench's settings (--bench-load or --bench-circuit, --bench-noise,
// --bench-seed, --bench-input-gain, --bench-output-gain) and the card volumes
// it follows.
#include "bench/bench_rlc.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace bench {

struct BenchConfig {
    double loadOhms = 100.0;   // the load resistor, ohms (>= 0)
    // A series R, L, C load followed in time (--bench-circuit) in place of the
    // resistor; none: the resistor, worked out frame by frame as before.
    std::optional<BenchRlc> circuit;
    double noise = 0.0;        // RMS noise added to each line-input channel, in sample units (>= 0)
    std::uint64_t seed = 1;    // of the noise; the same seed gives the same noise
    // The card's playback volume (wave output and speakers together), 0..1,
    // read for every recorded block; none: full volume.
    std::function<double()> outputGain;
    // The card's recording volume, 0..1; none: full volume.
    std::function<double()> recordingGain;
    // The card itself against the reference card: its line input is
    // `lineInputGain` times as sensitive, its output `lineOutputGain` times as
    // strong (both > 0; 1 is the reference card).
    double lineInputGain = 1.0;
    double lineOutputGain = 1.0;
};

// Empty when the settings can be used, else what is wrong with them.
std::string benchConfigError(const BenchConfig& config);

}  // namespace bench
