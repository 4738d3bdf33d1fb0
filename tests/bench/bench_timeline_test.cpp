// The bench's record of the played source: sampled at any rate at exact
// instants, silent where nothing played or after a halt, and forgotten once
// nobody can record it any more.
#include "bench/bench_timeline.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace platform;
using namespace platform::win;
using namespace platform::wave;
using namespace bench;


std::vector<char> ramp16(int frames, int channels) {
    std::vector<char> d;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) {
            const auto v = static_cast<std::uint16_t>(c == 0 ? i + 1 : -1);
            d.push_back(static_cast<char>(v & 0xFF));
            d.push_back(static_cast<char>(v >> 8));
        }
    return d;
}

TEST(WaveBenchTimeline, SamplesTheFirstChannelHeldAtExactInstants) {
    BenchTimeline t;
    const auto data = ramp16(480, 2);  // 10 ms at 48 kHz, from 10 ms on
    t.playing(pcmFormat(48000, 2, 16), 10'000'000, 0, data.data(), 480);
    std::vector<double> got(1323);  // 30 ms at 44.1 kHz
    t.sample(0, 44100, 0, got.size(), got.data());
    for (std::size_t k = 0; k < got.size(); ++k) {
        // Frame k passes at k / 44100 s; the stretch's sample j plays from 10 ms + j / 48000 s.
        const long long j = (static_cast<long long>(k) * 48000 - 480 * 44100) / 44100;
        const bool inside = static_cast<long long>(k) * 48000 >= 480LL * 44100 && j < 480;
        EXPECT_EQ(got[k], inside ? static_cast<double>(j + 1) : 0.0) << "frame " << k;
    }

    // 8-bit samples are scaled to 16-bit units; a halt silences what follows.
    BenchTimeline eight;
    const std::vector<char> bytes{'\x00', '\x80', '\xFF', '\x81'};
    eight.playing(pcmFormat(4, 1, 8), 0, 0, bytes.data(), 4);  // one frame every 250 ms
    eight.halted(600'000'000);
    std::vector<double> e(5);
    eight.sample(0, 4, 0, e.size(), e.data());
    EXPECT_EQ(e, (std::vector<double>{-32768, 0, 127 * 256, 0, 0}));
}

TEST(WaveBenchTimeline, ForgetsWhatNobodyCanRecordAnyMore) {
    BenchTimeline t;
    const auto data = ramp16(100, 1);
    const WAVEFORMATEX f = pcmFormat(1000, 1, 16);  // 100 ms per stretch
    // Without a recording, each new stretch replaces the finished ones.
    for (int i = 0; i < 10; ++i) t.playing(f, 0, i * 100, data.data(), 100);
    EXPECT_EQ(t.stretches(), 1u);

    // A recording from 1 s keeps what it has not recorded yet (the stretch
    // that ended at 1 s goes).
    t.inputStarted(1'000'000'000);
    for (int i = 10; i < 15; ++i) t.playing(f, 0, i * 100, data.data(), 100);
    EXPECT_EQ(t.stretches(), 5u);
    t.inputConsumed(1'250'000'000);  // recorded up to 1.25 s: the stretches before 1.2 s go
    EXPECT_EQ(t.stretches(), 3u);
    std::vector<double> v(1);
    t.sample(1'000'000'000, 1000, 250, 1, v.data());
    EXPECT_EQ(v[0], 51.0);  // 1.25 s is sample 50 of the stretch from 1.2 s
    t.inputStopped();
    t.playing(f, 0, 1500, data.data(), 100);
    EXPECT_EQ(t.stretches(), 1u);
}

}  // namespace
