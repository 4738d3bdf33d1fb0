#include "lab/waveform_trace.h"

#include "lab/crossings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lab {

std::optional<double> periodOf(const std::vector<double>& crossings) {
    if (crossings.size() < 2) return std::nullopt;
    const double period = (crossings.back() - crossings.front()) / static_cast<double>(crossings.size() - 1);
    if (!(period > 0)) return std::nullopt;
    return period;
}

TraceWindow traceWindow(const std::vector<double>& currentCrossings, std::size_t n, std::size_t minimumSamples) {
    TraceWindow w;
    const auto period = periodOf(currentCrossings);
    if (!period) {
        w.length = std::min(n, minimumSamples);
        w.start = n - w.length;
        return w;
    }
    const double periods = std::max(1.0, std::ceil(static_cast<double>(minimumSamples) / *period));
    const auto length = static_cast<std::size_t>(std::lround(periods * *period));
    for (auto it = currentCrossings.rbegin(); it != currentCrossings.rend(); ++it) {
        const auto start = static_cast<std::size_t>(std::ceil(*it));
        if (start + length <= n) {
            w.start = start;
            w.length = length;
            w.triggered = true;
            return w;
        }
    }
    w.length = std::min(n, length);
    w.start = n - w.length;
    return w;
}

std::optional<double> tracePhaseDegrees(const std::vector<double>& currentCrossings,
                                        const std::vector<double>& voltageCrossings) {
    const auto period = periodOf(currentCrossings);
    if (!period || voltageCrossings.empty()) return std::nullopt;
    double sumCos = 0, sumSin = 0;
    int pairs = 0;
    auto v = voltageCrossings.begin();
    for (const double c : currentCrossings) {
        v = std::lower_bound(v, voltageCrossings.end(), c);
        if (v == voltageCrossings.end()) break;
        // The voltage rises `delay` after the current: it lags by that angle.
        const double angle = -2 * std::numbers::pi * (*v - c) / *period;
        sumCos += std::cos(angle);
        sumSin += std::sin(angle);
        ++pairs;
    }
    if (pairs == 0 || (sumCos == 0 && sumSin == 0)) return std::nullopt;
    double degrees = std::atan2(sumSin, sumCos) * 180.0 / std::numbers::pi;
    if (degrees <= -180.0) degrees = 180.0;
    return degrees;
}

Traces analyseTraces(const measure::StereoHistory& history, const measure::CircuitReading& reading,
                     std::int64_t rate) {
    Traces t;
    const std::size_t n = history.size();
    const double samplesPerSecond = static_cast<double>(rate > 0 ? rate : 44100);
    std::vector<double> current;
    if (reading.current.rms > 0)
        current = risingCrossings(history.left(), n, reading.current.mean, 0.5 * reading.current.rms);
    const auto period = periodOf(current);
    const double minimum = period ? std::max(2 * *period, 0.01 * samplesPerSecond) : 0.05 * samplesPerSecond;
    t.window = traceWindow(current, n, static_cast<std::size_t>(std::lround(minimum)));
    if (period) t.frequencyHz = samplesPerSecond / *period;
    return t;
}

}  // namespace lab
