#pragma once
// TrueRmsMeter: the AC ammeter's and the AC voltmeter's true-RMS readings of
// the line input's two channels, with the frequency, the phase between them
// and the active power.
//
// Recorded blocks of interleaved stereo frames are added as they come (any
// size); the meter keeps the last 0.3 s of both channels and, once per added
// block, reads them through a Hann window (w = sin^2 over the window):
//   mean m = sum(w x) / sum(w),  rms^2 = sum(w (x - m)^2) / sum(w).
// The smooth weighting makes the reading of a steady periodic signal steady
// whatever the block boundaries, with no whole number of periods needed: the
// window's spectrum falls as 1/f^3, and at 20 Hz (six periods) a sine's
// reading stays within 0.01 % of its RMS. A new level is read fully once it
// fills the window, 0.3 s plus the rest of the block it arrived in.
//
// Until the first 0.3 s have been recorded the window is as long as what there
// is (no zeros are read), and the reading is not `settled`.
//
// The frequency comes from the crossings of the channel's mean (see
// crossing_period.h), from the current, or from the voltage when the current
// is not periodic (noise only). The phase is that of the two channels'
// Hann-weighted Fourier coefficients at that frequency: of their fundamentals,
// whatever their harmonics.
//
// A channel carries a signal when the card resolves it and it is periodic:
//  - its RMS is at least kMinimumRms, ten times the RMS of 16-bit rounding
//    (1 / sqrt(12) = 0.29 units): 1.3e-4 of a full-scale sine's RMS, 78 dB
//    below it, and 10 dB above the hiss of a good line input;
//  - it is at least kChannelSeparation of the other channel's RMS (70 dB
//    below it): a line input leaks about that much of one channel into the
//    other, and the leak is periodic at the same frequency. (The shunt never
//    falls that low on the unit: the divider alone draws 59 dB of the
//    voltage channel's level through it; nor does the divider's output, but
//    for a load under 0.03 ohm.)
//  - a frequency was found, and its fundamental holds at least a third
//    (kMinimumCoherence) of its RMS: noise holds 1.5 % over 0.3 s, a sine 1,
//    a square wave 0.9.
// Noise alone, a DC level alone or silence so have no frequency, and neither
// they nor a channel that is silent beside a periodic one give a phase.
//
// Reading the result is O(1); all work is done when a block is added, and
// nothing is allocated after construction.
#include "measure/circuit_reading.h"
#include "measure/true_rms/stereo_history.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace measure {

class TrueRmsMeter {
public:
    static constexpr double kWindowSeconds = 0.3;
    // A channel with a smaller RMS (sample units) carries no signal.
    static constexpr double kMinimumRms = 3.0;
    // ... nor one below this share of the other channel's RMS (-70 dB).
    static constexpr double kChannelSeparation = 3.2e-4;
    // ... nor one whose fundamental holds less than this share of its RMS.
    static constexpr double kMinimumCoherence = 0.3;
    // How far beyond half a turn (degrees) the phase keeps the side it was on.
    static constexpr double kPhaseHysteresis = 5.0;

    // `rate`: frames per second of everything added (<= 0: 44100).
    explicit TrueRmsMeter(std::int64_t rate = 44100);

    // `frames` frames of interleaved left, right samples; 16-bit values, or
    // the 32-bit entries of a working array holding them (values beyond
    // 16 bits are clipped to full scale).
    void addBlock(const std::int16_t* interleaved, std::size_t frames);
    void addBlock(const std::int32_t* interleaved, std::size_t frames);

    // The reading after the last added block.
    const CircuitReading& reading() const { return reading_; }

    // Forgets everything recorded (a new recording starts).
    void reset();

    // The last frames of both channels, sample-aligned, as the reading was
    // taken over (read-only: the waveforms are drawn from it).
    const StereoHistory& history() const { return history_; }

    std::int64_t rate() const { return rate_; }
    std::size_t windowFrames() const { return history_.capacity(); }

private:
    template <class Sample>
    void take(const Sample* interleaved, std::size_t frames);
    void analyse();
    void shapeWindow(std::size_t frames);
    void readFundamentals(double periodFrames);

    std::int64_t rate_;
    StereoHistory history_;
    std::vector<double> weights_;  // the Hann window over the frames held
    std::size_t shapedFor_ = 0;    // frames weights_ is shaped for
    double weightSum_ = 0;
    std::int64_t added_ = 0;       // frames added since the start
    std::int64_t lastFullScale_[2];  // frame index of each channel's last full-scale frame
    CircuitReading reading_;
    // The phase of the last reading that had one (the side it is on near half a turn).
    std::optional<double> lastPhase_;
};

// `raw` (degrees, (-180, 180]) or a turn either side of it: the one nearest
// `previous` if that lies within `hysteresis` beyond half a turn, else `raw`.
double phaseOnBranch(double raw, std::optional<double> previous, double hysteresis);

}  // namespace measure
