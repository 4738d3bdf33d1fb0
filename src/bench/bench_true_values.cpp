#include "bench/bench_true_values.h"

#include "bench/bench_circuit.h"

#include <cmath>
#include <numbers>

namespace bench {

void BenchTrueValues::beginBlock(std::int64_t rate) {
    if (rate <= 0 || rate == rate_) return;
    rate_ = rate;
    frames_.assign(static_cast<std::size_t>(rate), Frame{});
    next_ = 0;
    held_ = 0;
}

void BenchTrueValues::add(double sourceMillivolts, double loadMillivolts, double currentMilliamps) {
    if (frames_.empty()) return;
    const double dividerMilliamps = loadMillivolts / (kBenchDividerTopOhms + kBenchDividerBottomOhms);
    frames_[next_] = {sourceMillivolts * sourceMillivolts, loadMillivolts * loadMillivolts,
                      currentMilliamps * currentMilliamps, loadMillivolts * currentMilliamps,
                      loadMillivolts * (currentMilliamps - dividerMilliamps)};
    next_ = (next_ + 1) % frames_.size();
    if (held_ < frames_.size()) ++held_;
}

BenchReading BenchTrueValues::rms() const {
    if (held_ == 0) return {};
    Frame sums{};
    double weights = 0;
    const std::size_t first = (next_ + frames_.size() - held_) % frames_.size();
    for (std::size_t n = 0; n < held_; ++n) {
        const double s = std::sin(std::numbers::pi * (static_cast<double>(n) + 0.5) / static_cast<double>(held_));
        const double w = s * s;
        const Frame& f = frames_[(first + n) % frames_.size()];
        for (std::size_t i = 0; i < f.size(); ++i) sums[i] += w * f[i];
        weights += w;
    }
    // mV times mA is a microwatt.
    return {std::sqrt(sums[0] / weights), std::sqrt(sums[1] / weights), std::sqrt(sums[2] / weights),
            sums[3] / weights / 1000.0, sums[4] / weights / 1000.0};
}

}  // namespace bench
