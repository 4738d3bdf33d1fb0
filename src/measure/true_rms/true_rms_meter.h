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
// Hann-weighted Fourier coefficients at that frequency.
//
// Reading the result is O(1); all work is done when a block is added, and
// nothing is allocated after construction.
#include "measure/circuit_reading.h"
#include "measure/true_rms/stereo_history.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace measure {

class TrueRmsMeter {
public:
    static constexpr double kWindowSeconds = 0.3;
    // A channel with a smaller RMS (sample units) has no frequency and no phase.
    static constexpr double kMinimumRms = 3.0;

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
    void readPhase(double periodFrames);

    std::int64_t rate_;
    StereoHistory history_;
    std::vector<double> weights_;  // the Hann window over the frames held
    std::size_t shapedFor_ = 0;    // frames weights_ is shaped for
    double weightSum_ = 0;
    std::int64_t added_ = 0;       // frames added since the start
    std::int64_t lastFullScale_[2];  // frame index of each channel's last full-scale frame
    CircuitReading reading_;
};

}  // namespace measure
