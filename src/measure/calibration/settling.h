#pragma once
// Whether an instrument's reading has settled after the generator's last
// change: the one rule that calibration and the lab's points both keep.
//
// Settled means: the readings whose sound lies in the last `stretch` seconds
// (each takes in the true-RMS meter's window before the end of its block)
// all began after the generator's last change reached the line input, there
// are at least `minimumReadings` of them, they lie within `spread` of their
// mean, and the card's input reached full scale in none of them.
#include "measure/instrument.h"
#include "measure/calibration/reading_history.h"

namespace measure {

enum class Settling {
    Settled,
    NoReading,  // nothing measured, or a reading of 0
    Overload,   // the card's input reached full scale
    Unsettled,  // the readings still move, or took in sound from before the change
};

struct SettlingRule {
    // Seconds of recorded sound the readings are taken from (at most the
    // history's window).
    double stretch = 2.0;
    int minimumReadings = 1;
    double spread = 0.01;  // (largest - smallest) / mean
};

// Calibration: the last 2 s, within 1 %.
inline constexpr SettlingRule kCalibrationSettling{2.0, 1, 0.01};

// A point of the lab (a sweep's step, "Zapsat bod"): three or more readings
// whose 0.3 s of sound all came after the change, from the last 0.5 s, within
// 1 %. A step then takes about 0.5 s beyond the player's queued sound.
inline constexpr SettlingRule kPointSettling{0.5, 3, 0.01};

// changeArrives: seconds of recorded sound (history.recorded()) by which the
// generator's last change has reached the input.
Settling settling(const ReadingHistory& history, Instrument instrument, double changeArrives,
                  const SettlingRule& rule);

}  // namespace measure
