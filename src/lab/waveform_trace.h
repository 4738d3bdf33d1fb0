#pragma once
// What the waveform view shows of the line input's last 0.3 s: a stretch that
// begins at a rising crossing of the current (the trigger), so that a steady
// signal stands still on the screen. (The phase the view states is the
// meter's, of the fundamentals: phase_words.h. The delay between the traces'
// crossings differs from it on a distorted wave and wanders in noise.)
#include "measure/circuit_reading.h"
#include "measure/true_rms/stereo_history.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace lab {

struct TraceWindow {
    std::size_t start = 0;  // first sample shown
    std::size_t length = 0;
    bool triggered = false;  // start lies at the current's rising crossing
};

// The stretch to show of `n` samples whose current rises through its level at
// `currentCrossings` (see crossings.h): whole periods of at least
// `minimumSamples`, starting at the latest crossing that leaves room for them.
// Without a period (fewer than two crossings) the newest `minimumSamples`
// (at most n), untriggered.
TraceWindow traceWindow(const std::vector<double>& currentCrossings, std::size_t n, std::size_t minimumSamples);

// The mean period in samples of a list of crossings; nothing with fewer than two.
std::optional<double> periodOf(const std::vector<double>& crossings);

// The voltage's phase against the current in degrees, (-180, 180], positive
// when the voltage leads (the convention of the circuit's phase): each rising
// crossing of the current is paired with the next of the voltage, and the
// delays are averaged as angles. Nothing without a period or a pair.
std::optional<double> tracePhaseDegrees(const std::vector<double>& currentCrossings,
                                        const std::vector<double>& voltageCrossings);

// The stretch from the true-RMS meter's history and its reading (whose
// weighted means are the levels crossed, with half an RMS of hysteresis, as
// the meter's own frequency takes them): at least two periods and 10 ms shown
// (50 ms without a period).
struct Traces {
    TraceWindow window;
    std::optional<double> frequencyHz;  // from the current's crossings
};
Traces analyseTraces(const measure::StereoHistory& history, const measure::CircuitReading& reading,
                     std::int64_t rate);

}  // namespace lab
