#include "measure/reference/channel_measurement.h"

#include "measure/reference/readout_format.h"
#include "measure/reference/reference_calibration.h"

#include <algorithm>
#include <cmath>

namespace measure {

namespace {

struct Channel {
    std::int32_t offset;                   // 0 left, 1 right
    WorkingArray MeasurementState::*filtered;
    // copy, smoothing with the channel's divisor d, sum of squares
    double (*smoothAndSumSquares)(const WorkingArray& samples, WorkingArray& f, std::int32_t offset, std::int32_t n,
                                  SmoothingMemo& memo);
    SmoothingMemo MeasurementState::*memo;
    double MeasurementState::*value;
    double MeasurementState::*rms;     // r before any factor
    double CalibrationFactors::*gain;  // the profile's factor on r
    long double (*calibrate)(long double rms);
    std::string (*readout)(double value);
    // The true-RMS path, with a profile: the channel's reading and its constant.
    ChannelReading CircuitReading::*trueChannel;
    long double (*calibrateTrue)(long double rms);
};

// One filter step: trunc(x / d + p - p / d) = trunc((x + (d - 1) p) / d).
// Every term of the left form is exact in extended precision for 32-bit
// operands, so the exact integer form below gives the same bits; C++ integer
// division truncates towards zero, as the filter does. The result lies between
// x and p, so it fits 32 bits. The divisor is a compile-time constant, so the
// division compiles to shifts.
template <std::int64_t Divisor>
std::int32_t smoothStep(std::int64_t raw, std::int64_t previous) {
    return static_cast<std::int32_t>((raw + (Divisor - 1) * previous) / Divisor);
}

// Copy, smoothing and sum of squares in one walk: the copy of entry k is
// consumed by the filter step k right after it, so fusing them changes nothing.
// Returns S, accumulated in double precision in index order. The walk up to
// the last step depends only on the samples, so a walk over the same block
// (kept in the memo with what it gave) does just the last step, which smooths
// F[n] with what the previous pass left there.
template <std::int64_t Divisor>
double smoothAndSumSquares(const WorkingArray& samples, WorkingArray& f, std::int32_t offset, std::int32_t n,
                           SmoothingMemo& memo) {
    if (n <= 0) return 0;
    const auto count = static_cast<std::size_t>(n);
    const bool same = memo.n == n && std::equal(memo.samples.begin(), memo.samples.end(), samples.begin()) &&
                      std::equal(memo.smoothed.begin(), memo.smoothed.end(), f.begin());
    double sum = 0;
    std::int64_t previous = 0;
    auto step = [&](std::size_t k, std::int64_t raw) {
        const std::int32_t smoothed = smoothStep<Divisor>(raw, previous);
        f[k] = smoothed;
        previous = smoothed;
        sum += static_cast<double>(smoothed) * static_cast<double>(smoothed);
    };
    if (same) {
        sum = memo.sumBeforeLast;
        previous = f[count - 1];
    } else {
        f[0] = samples[static_cast<std::size_t>(offset)];
        previous = f[0];
        for (std::int32_t k = 1; k < n; ++k) {
            step(static_cast<std::size_t>(k), samples[static_cast<std::size_t>(2 * k + offset)]);
        }
        memo.n = n;
        memo.samples.assign(samples.begin(), samples.begin() + 2 * static_cast<std::ptrdiff_t>(count));
        memo.smoothed.assign(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(count));
        memo.sumBeforeLast = sum;
    }
    // The last step smooths F[n], which still holds what the previous pass left.
    step(count, f[count]);
    return sum;
}

const Channel kCurrent{0, &MeasurementState::FilteredCurrent, smoothAndSumSquares<2>, &MeasurementState::CurrentSmoothing,
                       &MeasurementState::AmmeterValue, &MeasurementState::CurrentRms,
                       &CalibrationFactors::AmmeterGain, referenceCurrent, formatAmmeterReadout,
                       &CircuitReading::current, trueCurrent};
const Channel kVoltage{1, &MeasurementState::FilteredVoltage, smoothAndSumSquares<4>, &MeasurementState::VoltageSmoothing,
                       &MeasurementState::VoltmeterValue, &MeasurementState::VoltageRms,
                       &CalibrationFactors::VoltmeterGain, referenceVoltage, formatVoltmeterReadout,
                       &CircuitReading::voltage, trueVoltage};

// With a profile: the true RMS of the channel's own frames over the meter's
// window, times the reference constant and the profile's factor.
std::string measureTrueChannel(MeasurementState& state, const Channel& channel) {
    const double rms = (state.LineInput.*channel.trueChannel).rms;
    const long double gain = (*state.Calibration).*channel.gain;
    const double value = static_cast<double>(channel.calibrateTrue(rms) * gain);
    state.*channel.rms = rms;
    state.*channel.value = value;
    return channel.readout(value);
}

std::string measureChannel(MeasurementState& state, const Channel& channel, std::int32_t bufferSize) {
    if (state.Calibration && state.Calibration->OnTrueRms) return measureTrueChannel(state, channel);
    const std::int32_t n = channelEntryCount(bufferSize);
    const double sum =
        channel.smoothAndSumSquares(state.Samples1, state.*channel.filtered, channel.offset, n, state.*channel.memo);
    double value = 0;
    double rmsSeen = 0;
    if (sum != 0) {
        long double rms = std::sqrt(static_cast<long double>(sum) / n);
        rmsSeen = static_cast<double>(rms);
        // Factors on r (an earlier kind of profile) scale it first; without
        // a profile, r goes in as it is.
        if (state.Calibration) rms = rms * static_cast<long double>((*state.Calibration).*channel.gain);
        value = static_cast<double>(channel.calibrate(rms));
    }
    state.*channel.rms = rmsSeen;
    state.*channel.value = value;
    return channel.readout(value);
}

}  // namespace

std::int32_t channelEntryCount(std::int32_t bufferSize) {
    return std::min(bufferSize / 2, kMaxChannelEntries);
}

std::string MeasureVoltage(MeasurementState& state, std::int32_t bufferSize) {
    return measureChannel(state, kVoltage, bufferSize);
}

std::string MeasureCurrent(MeasurementState& state, std::int32_t bufferSize) {
    return measureChannel(state, kCurrent, bufferSize);
}

}  // namespace measure
