#pragma once
// What the true-RMS meter reads from the two line-input channels, in sample
// units: the left channel carries the shunt voltage (the current), the right
// one the divider's output (the voltage across the load).
#include <cstddef>

namespace measure {

struct ChannelReading {
    double rms = 0;          // RMS of the channel with its mean removed (AC)
    double mean = 0;         // the weighted mean that was removed (DC)
    double fundamental = 0;  // RMS of its component at frequencyHz; 0 without a frequency
    // It carries a signal the card resolves, periodic at frequencyHz (see
    // TrueRmsMeter): noise, a DC level, silence or the other channel's leak do not.
    bool signal = false;
    bool overload = false;   // some frame of the window reached full scale (|x| >= 32767)
};

// Which channel the frequency was read from.
enum class FrequencySource { None, Current, Voltage };

struct CircuitReading {
    ChannelReading current;  // left channel
    ChannelReading voltage;  // right channel

    // Hz; 0 when neither channel is periodic (no signal). From the current
    // when it is periodic, else from the voltage.
    double frequencyHz = 0;
    FrequencySource frequencyFrom = FrequencySource::None;

    // The phase of the voltage's fundamental against the current's, degrees,
    // positive when the voltage leads: in (-180, 180], except that near half a
    // turn it stays on the side it was on up to TrueRmsMeter::kPhaseHysteresis
    // beyond (a phase of 180 degrees does not flip sign block to block). Known
    // when both channels carry a signal; else 0.
    bool phaseKnown = false;
    double phaseDegrees = 0;

    // Weighted mean of (current - its mean) * (voltage - its mean): active
    // power in sample units squared.
    double meanProduct = 0;
    // meanProduct / (current.rms * voltage.rms); 0 when either RMS is 0.
    double powerFactor = 0;

    std::size_t frames = 0;  // frames the window covered
    bool settled = false;    // the window was full
};

}  // namespace measure
