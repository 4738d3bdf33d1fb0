#pragma once
// Two generated signals recorded into a true-RMS meter as the line input
// would deliver them: in blocks of 2450 frames (18 a second at 44.1 kHz),
// rounded to 16 bits and clipped at full scale.
#include "measure/true_rms/true_rms_meter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

namespace testsupport {

using LineSignal = std::function<double(double seconds)>;

inline constexpr double kFullScale = 32767.0;

inline LineSignal sineWave(double peak, double hz, double degrees = 0) {
    const double phase = degrees * std::numbers::pi / 180;
    return [=](double t) { return peak * std::sin(2 * std::numbers::pi * hz * t + phase); };
}

// Gaussian noise of `rms` added to `signal` (own generator, seeded).
inline LineSignal withNoise(LineSignal signal, double rms, unsigned seed) {
    auto random = std::make_shared<std::mt19937>(seed);
    auto gauss = std::make_shared<std::normal_distribution<double>>(0.0, rms);
    return [=](double t) { return signal(t) + (*gauss)(*random); };
}

class LineRecording {
public:
    LineRecording(measure::TrueRmsMeter& meter, LineSignal current, LineSignal voltage)
        : meter_(meter), current_(std::move(current)), voltage_(std::move(voltage)) {}

    // One block; the meter's reading after it.
    const measure::CircuitReading& block(std::size_t frames = 2450) {
        block_.resize(2 * frames);
        const double rate = static_cast<double>(meter_.rate());
        for (std::size_t i = 0; i < frames; ++i, ++frame_) {
            const double t = static_cast<double>(frame_) / rate;
            block_[2 * i] = sample(current_(t));
            block_[2 * i + 1] = sample(voltage_(t));
        }
        meter_.addBlock(block_.data(), frames);
        return meter_.reading();
    }
    // Blocks until the window is full (0.3 s and a block).
    void warmUp() {
        while (static_cast<double>(frame_) < 0.35 * static_cast<double>(meter_.rate())) block();
    }

private:
    static std::int16_t sample(double v) {
        return static_cast<std::int16_t>(std::lrint(std::clamp(v, -32768.0, 32767.0)));
    }
    measure::TrueRmsMeter& meter_;
    LineSignal current_, voltage_;
    std::vector<std::int16_t> block_;
    std::int64_t frame_ = 0;
};

}  // namespace testsupport
