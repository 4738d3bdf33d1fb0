#pragma once
// What the generator's two track bars set and show: the amplitude and the
// source voltage text from TrackBar1, the frequency and its texts from
// TrackBar2. Pure functions; the window assigns the results.
#include <cstdint>
#include <string>

namespace generator {

inline constexpr std::int32_t kLowestFrequency = 20;

// GeneratorAmplitude := nearest(position * 0.7): 1 -> 1, 2 -> 1, 5 -> 4, 32000 -> 22400.
std::int32_t AmplitudeFromPosition(std::int32_t position);

// The source voltage readout (Panel10, Panel6): v := nearest(amplitude / 22 *
// 3.5 / 20) * 20 mV, shown as v / 1000 with two decimals and " V"
// (70 -> "0.02 V", 22400 -> "3.56 V").
std::string SourceVoltageText(std::int32_t amplitude);

// The same readout for a card with a calibration profile, from the source's
// calibrated RMS voltage: nearest(millivolts / 20) * 20 mV, as above.
std::string CalibratedSourceVoltageText(long double millivolts);

// GeneratorFrequency := position, at least 20 Hz. When the result differs
// from the position, the track bar is to be moved to it.
std::int32_t FrequencyFromPosition(std::int32_t position);

// The frequency as shown, to the nearest 5 Hz: 52 -> 50, 53 -> 55.
std::int32_t DisplayedFrequency(std::int32_t frequency);

// Panel5's caption, "50 Hz", and Edit3's text, " 50 Hz".
std::string FrequencyPanelCaption(std::int32_t frequency);
std::string FrequencyEditText(std::int32_t frequency);

}  // namespace generator
