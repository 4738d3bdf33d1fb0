#include "bench/bench_true_values.h"

#include <cmath>

namespace bench {

void BenchTrueValues::beginBlock(std::int64_t rate) { current_ = Block{0, rate > 0 ? rate : 1, {0, 0, 0}}; }

void BenchTrueValues::add(double sourceMillivolts, double loadMillivolts, double currentMilliamps) {
    current_.squares[0] += sourceMillivolts * sourceMillivolts;
    current_.squares[1] += loadMillivolts * loadMillivolts;
    current_.squares[2] += currentMilliamps * currentMilliamps;
    ++current_.frames;
}

void BenchTrueValues::endBlock() {
    if (current_.frames == 0) return;
    blocks_.push_back(current_);
    current_ = Block{0, current_.rate, {0, 0, 0}};
    // Keep the newest blocks that together span at least one second.
    double seconds = 0;
    std::size_t keep = 0;
    for (auto it = blocks_.rbegin(); it != blocks_.rend() && seconds < 1.0; ++it, ++keep)
        seconds += static_cast<double>(it->frames) / static_cast<double>(it->rate);
    while (blocks_.size() > keep) blocks_.pop_front();
}

BenchReading BenchTrueValues::rms() const {
    double squares[3] = {0, 0, 0};
    std::int64_t frames = 0;
    for (const Block& b : blocks_) {
        for (int i = 0; i < 3; ++i) squares[i] += b.squares[i];
        frames += b.frames;
    }
    if (frames == 0) return {};
    const auto n = static_cast<double>(frames);
    return {std::sqrt(squares[0] / n), std::sqrt(squares[1] / n), std::sqrt(squares[2] / n)};
}

}  // namespace bench
