#pragma once
// The shared measurement state: working sample arrays, readings, per-instrument
// face memory, pointer positions and analog-off flags, generator amplitude.
// One object of this type is owned by the main window; everything is zero until
// the window's creation handler gives the start values.
#include "measure/calibration/calibration.h"
#include "measure/circuit_reading.h"
#include "measure/instrument.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace measure {

inline constexpr int kWorkingArraySize = 44100;
inline constexpr int kAmmeterFaceFlagCount = 8;    // seven ranges and a spare
inline constexpr int kVoltmeterFaceFlagCount = 6;  // five ranges and a spare

using WorkingArray = std::array<std::int32_t, kWorkingArraySize>;

// What one channel's last smoothing pass was made of: the recorded entries it
// read, the smoothed entries 0..n-1 it left and their sum of squares. A pass
// over the same block and the same smoothed entries gives the same sum up to
// its last step, which smooths F[n] again; only that step is done anew. Each
// channel keeps its own copy of the block: the other channel's pass may have
// been made over another one.
struct SmoothingMemo {
    std::int32_t n = 0;  // 0: nothing kept
    std::vector<std::int32_t> samples;   // Samples1[0 .. 2n)
    std::vector<std::int32_t> smoothed;  // F[0 .. n)
    double sumBeforeLast = 0;
};

struct MeasurementState {
    WorkingArray Samples1{};         // last recorded block, interleaved L/R
    WorkingArray FilteredCurrent{};  // left channel after smoothing
    WorkingArray FilteredVoltage{};  // right channel after smoothing

    double AmmeterValue = 0;    // mA
    double VoltmeterValue = 0;  // mV
    double SourceValue = 0;     // mV

    std::int32_t AmmeterPointerX = 0;
    std::int32_t AmmeterPointerDrawnX = 0;
    std::int32_t VoltmeterPointerX = 0;
    std::int32_t VoltmeterPointerDrawnX = 0;
    std::int32_t SourcePointerX = 0;
    std::int32_t SourcePointerDrawnX = 0;

    std::array<std::int32_t, kAmmeterFaceFlagCount> AmmeterFaceFlags{};
    std::array<std::int32_t, kVoltmeterFaceFlagCount> VoltmeterFaceFlags{};
    std::array<std::int32_t, kVoltmeterFaceFlagCount> SourceFaceFlags{};

    std::int32_t AmmeterAnalogOff = 0;
    std::int32_t VoltmeterAnalogOff = 0;
    std::int32_t SourceAnalogOff = 0;

    std::int32_t GeneratorAmplitude = 0;  // peak, in sample units

    // The card's calibration profile; absent: the reference card's constants,
    // computed exactly as without any calibration.
    std::optional<CalibrationFactors> Calibration;
    // r of each channel's last pass, before any factor (0 when S = 0); with a
    // profile, the channel's true RMS.
    double CurrentRms = 0;
    double VoltageRms = 0;
    // The true-RMS meter's reading of the line input after the last recorded
    // block. With a profile the ammeter and the voltmeter read their channel's
    // true RMS from it; the circuit's quantities always come from it.
    CircuitReading LineInput;

    SmoothingMemo CurrentSmoothing;
    SmoothingMemo VoltageSmoothing;
};

// One instrument's part of the state, by reference.
struct InstrumentFields {
    double& reading;                      // AmmeterValue, VoltmeterValue, SourceValue
    std::span<std::int32_t> faceFlags;    // one flag per range, then the spare
    std::int32_t& analogOff;
    std::int32_t& pointerX;
    std::int32_t& pointerDrawnX;
};

InstrumentFields instrumentFields(MeasurementState& state, Instrument instrument);
// Its reading (mA or mV).
double readingOf(const MeasurementState& state, Instrument instrument);

}  // namespace measure
