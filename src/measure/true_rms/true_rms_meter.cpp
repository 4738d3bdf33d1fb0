#include "measure/true_rms/true_rms_meter.h"

#include "measure/true_rms/crossing_period.h"
#include "measure/true_rms/weighted_sums.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace measure {
namespace {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::min() / 2;
constexpr double kFullScale = 32767.0;
// Hysteresis of the crossings, in RMS of the channel (a sine's peak is 1.41).
constexpr double kHysteresis = 0.5;

std::int64_t rateOrDefault(std::int64_t rate) { return rate > 0 ? rate : 44100; }

std::size_t windowFramesFor(std::int64_t rate) {
    return std::max<std::size_t>(2, static_cast<std::size_t>(std::lround(TrueRmsMeter::kWindowSeconds *
                                                                          static_cast<double>(rate))));
}

// The card resolves the channel beside the other one.
bool resolved(const ChannelReading& channel, const ChannelReading& other) {
    return channel.rms >= TrueRmsMeter::kMinimumRms && channel.rms >= TrueRmsMeter::kChannelSeparation * other.rms;
}

float clipped(std::int16_t v) { return static_cast<float>(v); }
float clipped(std::int32_t v) { return static_cast<float>(std::clamp<std::int32_t>(v, -32768, 32767)); }

}  // namespace

TrueRmsMeter::TrueRmsMeter(std::int64_t rate)
    : rate_(rateOrDefault(rate)), history_(windowFramesFor(rate_)), weights_(history_.capacity()) {
    reset();
}

void TrueRmsMeter::reset() {
    history_.clear();
    shapedFor_ = 0;
    added_ = 0;
    lastFullScale_[0] = lastFullScale_[1] = kNever;
    reading_ = CircuitReading{};
    lastPhase_.reset();
}

void TrueRmsMeter::addBlock(const std::int16_t* interleaved, std::size_t frames) { take(interleaved, frames); }

void TrueRmsMeter::addBlock(const std::int32_t* interleaved, std::size_t frames) { take(interleaved, frames); }

template <class Sample>
void TrueRmsMeter::take(const Sample* interleaved, std::size_t frames) {
    if (interleaved == nullptr || frames == 0) return;
    // Frames older than the window cannot matter.
    const std::size_t skip = frames > history_.capacity() ? frames - history_.capacity() : 0;
    added_ += static_cast<std::int64_t>(skip);
    for (std::size_t i = skip; i < frames; ++i) {
        const float left = clipped(interleaved[2 * i]);
        const float right = clipped(interleaved[2 * i + 1]);
        if (std::abs(left) >= kFullScale) lastFullScale_[0] = added_;
        if (std::abs(right) >= kFullScale) lastFullScale_[1] = added_;
        history_.push(left, right);
        ++added_;
    }
    analyse();
}

void TrueRmsMeter::shapeWindow(std::size_t frames) {
    weightSum_ = 0;
    for (std::size_t n = 0; n < frames; ++n) {
        const double s = std::sin(std::numbers::pi * (static_cast<double>(n) + 0.5) / static_cast<double>(frames));
        weights_[n] = s * s;
        weightSum_ += weights_[n];
    }
    shapedFor_ = frames;
}

void TrueRmsMeter::analyse() {
    const std::size_t n = history_.size();
    CircuitReading& r = reading_;
    r = CircuitReading{};
    r.frames = n;
    r.settled = n == history_.capacity();
    const std::int64_t oldest = added_ - static_cast<std::int64_t>(n);
    r.current.overload = lastFullScale_[0] >= oldest;
    r.voltage.overload = lastFullScale_[1] >= oldest;
    if (n < 2) return;
    if (shapedFor_ != n) shapeWindow(n);

    const float* x = history_.left();
    const float* y = history_.right();
    const WeightedSums sums = weightedSums(x, y, weights_.data(), n);
    const double mx = sums.x / weightSum_;
    const double my = sums.y / weightSum_;
    r.current.mean = mx;
    r.voltage.mean = my;
    r.current.rms = std::sqrt(std::max(0.0, sums.xx / weightSum_ - mx * mx));
    r.voltage.rms = std::sqrt(std::max(0.0, sums.yy / weightSum_ - my * my));
    r.meanProduct = sums.xy / weightSum_ - mx * my;
    if (r.current.rms > 0 && r.voltage.rms > 0)
        r.powerFactor = std::clamp(r.meanProduct / (r.current.rms * r.voltage.rms), -1.0, 1.0);

    const bool currentResolved = resolved(r.current, r.voltage);
    const bool voltageResolved = resolved(r.voltage, r.current);
    std::optional<double> period;
    if (currentResolved) {
        period = crossingPeriod(x, n, mx, kHysteresis * r.current.rms);
        if (period) r.frequencyFrom = FrequencySource::Current;
    }
    if (!period && voltageResolved) {
        period = crossingPeriod(y, n, my, kHysteresis * r.voltage.rms);
        if (period) r.frequencyFrom = FrequencySource::Voltage;
    }
    if (period) {
        r.frequencyHz = static_cast<double>(rate_) / *period;
        readFundamentals(*period);
        r.current.signal = currentResolved && r.current.fundamental >= kMinimumCoherence * r.current.rms;
        r.voltage.signal = voltageResolved && r.voltage.fundamental >= kMinimumCoherence * r.voltage.rms;
    }
    if (!r.current.signal || !r.voltage.signal) {
        r.phaseDegrees = 0;
        lastPhase_.reset();
        return;
    }
    r.phaseDegrees = phaseOnBranch(r.phaseDegrees, lastPhase_, kPhaseHysteresis);
    r.phaseKnown = true;
    lastPhase_ = r.phaseDegrees;
}

// The Hann-weighted Fourier coefficients of both channels (means removed) at
// one period of `periodFrames`: the fundamentals' RMS, and the angle between
// them in (-180, 180] (the branch is chosen afterwards).
void TrueRmsMeter::readFundamentals(double periodFrames) {
    const WeightedFourier f = weightedFourier(history_.left(), history_.right(), weights_.data(), history_.size(),
                                              2 * std::numbers::pi / periodFrames);
    CircuitReading& r = reading_;
    // X = sum w (x - m) e^{-j omega i} = Xr + j Xi.
    const double xr = f.xRe - r.current.mean * f.wRe;
    const double xi = f.xIm - r.current.mean * f.wIm;
    const double yr = f.yRe - r.voltage.mean * f.wRe;
    const double yi = f.yIm - r.voltage.mean * f.wIm;
    // A sine of RMS a has |X| = sum(w) a / sqrt(2).
    const double scale = std::numbers::sqrt2 / weightSum_;
    r.current.fundamental = scale * std::hypot(xr, xi);
    r.voltage.fundamental = scale * std::hypot(yr, yi);
    // The angle of Y conj(X).
    r.phaseDegrees = std::atan2(yi * xr - yr * xi, yr * xr + yi * xi) * 180.0 / std::numbers::pi;
    if (r.phaseDegrees <= -180.0) r.phaseDegrees = 180.0;
}

double phaseOnBranch(double raw, std::optional<double> previous, double hysteresis) {
    if (!previous) return raw;
    const double turned = raw + (*previous > raw ? 360.0 : -360.0);
    if (std::fabs(turned - *previous) < std::fabs(raw - *previous) && std::fabs(turned) <= 180.0 + hysteresis)
        return turned;
    return raw;
}

}  // namespace measure
