#pragma once
// What the true-RMS meter reads from the two line-input channels, in sample
// units: the left channel carries the shunt voltage (the current), the right
// one the divider's output (the voltage across the load).
#include <cstddef>

namespace measure {

struct ChannelReading {
    double rms = 0;         // RMS of the channel with its mean removed (AC)
    double mean = 0;        // the weighted mean that was removed (DC)
    bool overload = false;  // some frame of the window reached full scale (|x| >= 32767)
};

// Which channel the frequency was read from.
enum class FrequencySource { None, Current, Voltage };

struct CircuitReading {
    ChannelReading current;  // left channel
    ChannelReading voltage;  // right channel

    // Hz; 0 when neither channel is periodic. From the current when it is
    // periodic, else from the voltage.
    double frequencyHz = 0;
    FrequencySource frequencyFrom = FrequencySource::None;

    // The voltage's phase against the current's at frequencyHz, degrees in
    // (-180, 180], positive when the voltage leads. Known when the frequency
    // is and both channels are mostly that frequency (not noise); else 0.
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
