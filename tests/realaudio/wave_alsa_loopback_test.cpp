// The ALSA driver against a real sound server: a sine played into the null
// sink comes back through its monitor, with the recorder's and the player's
// settings of the main window, at the right frequency and level, and over
// half a minute no recorded block is lost, doubled or out of order.
#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "generator/sine_fill.h"
#include "platform/wave/alsa/alsa_driver.h"
#include "platform/wave/device_status.h"
#include "platform/wave/driver_registry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <utility>
#include <vector>

namespace {

using namespace platform::wave;

using namespace platform::wave::alsa;

constexpr int kRate = 44100;
constexpr int kFrames = 2500;         // per recorded block
constexpr int kAmplitude = 16000;
constexpr int kFrequency = 440;       // 2500 frames are 24.94 periods: every block has its own phase
constexpr double kRunSeconds = 32.0;

// Phase (radians) of the kFrequency component of one channel of a block.
double phaseOf(const std::vector<double>& x) {
    double re = 0, im = 0;
    for (std::size_t n = 0; n < x.size(); ++n) {
        const double w = 2 * std::numbers::pi * kFrequency * static_cast<double>(n) / kRate;
        re += x[n] * std::cos(w);
        im -= x[n] * std::sin(w);
    }
    return std::atan2(im, re);
}

double wrapAngle(double a) {
    while (a > std::numbers::pi) a -= 2 * std::numbers::pi;
    while (a <= -std::numbers::pi) a += 2 * std::numbers::pi;
    return a;
}

struct Recording {
    std::vector<char*> buffers;  // the buffer each block came in
    std::vector<double> rmsLeft, rmsRight, phase;
    long risingCrossings = 0;
    long framesWithSignal = 0;
    double last = 0;
    bool signalSeen = false;
};

// On the ALSA driver: a recorder of 16-bit stereo blocks at 44.1 kHz and a
// 16-bit mono player with four 8192-byte buffers, both owned by `owner`.
std::pair<audio::TAudioIn*, audio::TAudioOut*> loopback(QObject& owner, std::int32_t blockBytes, std::int32_t blocks,
                                                        std::int32_t playRate) {
    clearDeviceStatus();
    setDriver(std::make_shared<AlsaDriver>());
    auto* in = new audio::TAudioIn(&owner);
    in->SetFrameRate(kRate);
    in->SetStereo(true);
    in->SetQuantization(16);
    in->SetBufferSize(blockBytes);
    in->SetNumBuffers(blocks);
    auto* out = new audio::TAudioOut(&owner);
    out->SetFrameRate(playRate);
    out->SetStereo(false);
    out->SetQuantization(16);
    out->SetBufferSize(8192);
    out->SetNumBuffers(4);
    return {in, out};
}

TEST(WaveAlsaLoopback, SineComesBackWholeForHalfAMinute) {
    if (std::getenv("PRISTROJE_REALAUDIO") == nullptr) GTEST_SKIP() << "needs the test sound server";
    QObject owner;
    auto [in, out] = loopback(owner, 10000, 2, 22050);

    Recording rec;
    std::int32_t blocksSeen = 0;
    in->OnBufferFilled = [&](char* buffer, std::int32_t& size) {
        ++blocksSeen;
        EXPECT_EQ(size, 10000);
        rec.buffers.push_back(buffer);
        std::vector<double> left(kFrames), right(kFrames);
        double sl = 0, sr = 0;
        for (int i = 0; i < kFrames; ++i) {
            std::int16_t l, r;
            std::memcpy(&l, buffer + 4 * i, 2);
            std::memcpy(&r, buffer + 4 * i + 2, 2);
            left[i] = l;
            right[i] = r;
            sl += left[i] * left[i];
            sr += right[i] * right[i];
        }
        const double rmsLeft = std::sqrt(sl / kFrames);
        // The block where the sound arrives is partly silent: measure from the next.
        if (!rec.signalSeen) {
            rec.signalSeen = rmsLeft > kAmplitude / 4.0;
        } else {
            rec.rmsLeft.push_back(rmsLeft);
            rec.rmsRight.push_back(std::sqrt(sr / kFrames));
            rec.phase.push_back(phaseOf(left));
            for (int i = 0; i < kFrames; ++i) {
                if (rec.last < 0 && left[i] >= 0) ++rec.risingCrossings;
                rec.last = left[i];
            }
            rec.framesWithSignal += kFrames;
        }
        return true;
    };
    out->OnFillBuffer = [&](char* buffer, std::int32_t& size) {
        return generator::FillSine(buffer, size, out->FilledCount(), 22050, kAmplitude, kFrequency);
    };

    ASSERT_TRUE(in->Start(in)) << in->ErrorMessage() << " / " << lastDeviceError();
    ASSERT_TRUE(out->Start(out)) << out->ErrorMessage() << " / " << lastDeviceError();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(kRunSeconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    const double elapsed = wall.elapsed() / 1000.0;

    // Counters: every block that came back was handed over and queued again.
    EXPECT_EQ(in->FilledCount(), blocksSeen);
    EXPECT_EQ(in->DoneCount(), blocksSeen);
    EXPECT_EQ(in->QueuedCount(), 2);
    EXPECT_EQ(out->QueuedCount(), out->FilledCount() - out->DoneCount());
    // The blocks keep pace with the clock: 17.64 blocks a second, give or take the latency.
    const double expected = elapsed * kRate / kFrames;
    EXPECT_NEAR(blocksSeen, expected, 8) << "over " << elapsed << " s";
    // Ring order: the buffers alternate.
    for (std::size_t i = 0; i < rec.buffers.size(); ++i)
        ASSERT_EQ(rec.buffers[i], in->Buffer(static_cast<int>(i % 2))) << "block " << i;

    ASSERT_GT(rec.framesWithSignal, kRate * 25) << "the sine did not come back";
    // Frequency from the zero crossings; level of every block, both channels
    // (the server copies the mono stream to both).
    const double frequency = rec.risingCrossings / (static_cast<double>(rec.framesWithSignal) / kRate);
    EXPECT_NEAR(frequency, kFrequency, 1.0);
    const double rms = kAmplitude / std::sqrt(2.0);
    for (std::size_t i = 0; i < rec.rmsLeft.size(); ++i) {
        ASSERT_NEAR(rec.rmsLeft[i], rms, rms * 0.05) << "block " << i << " after the signal came";
        ASSERT_NEAR(rec.rmsRight[i], rms, rms * 0.05) << "block " << i << " after the signal came";
    }
    // Sequence: each block's phase is the previous one's plus 2500 frames of
    // the sine; a lost, doubled or swapped block breaks the step.
    const double step = wrapAngle(2 * std::numbers::pi * kFrequency * kFrames / kRate);
    int breaks = 0;
    for (std::size_t i = 1; i < rec.phase.size(); ++i)
        if (std::abs(wrapAngle(rec.phase[i] - rec.phase[i - 1] - step)) > 0.2) ++breaks;
    EXPECT_EQ(breaks, 0);
    EXPECT_EQ(xrunCount(Direction::Input), 0u);
    EXPECT_EQ(xrunCount(Direction::Output), 0u);
    EXPECT_EQ(lastDeviceError(), "");

    in->StopImmediately();
    out->StopImmediately();
    QCoreApplication::processEvents();
    delete in;
    delete out;
    setDriver(nullptr);
}

// Buffers far smaller than the device's period: what one read brings is spread
// over several of them, and one read may stop in the middle of a buffer. The
// recorded stream, buffer after buffer, is still the sine without a seam: no
// step between neighbouring samples is steeper than the sine's own.
TEST(WaveAlsaLoopback, SmallBuffersJoinWithoutASeam) {
    if (std::getenv("PRISTROJE_REALAUDIO") == nullptr) GTEST_SKIP() << "needs the test sound server";
    QObject owner;
    auto [in, out] = loopback(owner, 4 * 333, 4, kRate);  // 333 frames, not a divisor of any period

    std::vector<std::int16_t> left;
    in->OnBufferFilled = [&](char* buffer, std::int32_t& size) {
        EXPECT_EQ(size, 4 * 333);
        for (int i = 0; i < size / 4; ++i) {
            std::int16_t l;
            std::memcpy(&l, buffer + 4 * i, 2);
            left.push_back(l);
        }
        return true;
    };
    out->OnFillBuffer = [&](char* buffer, std::int32_t& size) {
        return generator::FillSine(buffer, size, out->FilledCount(), kRate, kAmplitude, kFrequency);
    };
    ASSERT_TRUE(in->Start(in)) << in->ErrorMessage() << " / " << lastDeviceError();
    ASSERT_TRUE(out->Start(out)) << out->ErrorMessage() << " / " << lastDeviceError();
    QEventLoop loop;
    QTimer::singleShot(4000, &loop, &QEventLoop::quit);
    loop.exec();
    in->StopImmediately();
    out->StopImmediately();
    QCoreApplication::processEvents();

    // From the first loud sample on (the sound comes after some silence) to a
    // second before the end (the player's last buffer may not have been heard).
    std::size_t first = 0;
    while (first < left.size() && std::abs(left[first]) < kAmplitude / 2) ++first;
    ASSERT_LT(first + 2 * kRate, left.size()) << "the sine did not come back";
    const std::size_t end = left.size() - kRate;
    const double steepest = kAmplitude * 2 * std::numbers::pi * kFrequency / kRate;
    int seams = 0;
    long rising = 0;
    for (std::size_t i = first + 1; i < end; ++i) {
        if (std::abs(left[i] - left[i - 1]) > steepest * 1.2 + 40) ++seams;
        if (left[i - 1] < 0 && left[i] >= 0) ++rising;
    }
    EXPECT_EQ(seams, 0);
    EXPECT_NEAR(rising / (static_cast<double>(end - first) / kRate), kFrequency, 2.0);
    EXPECT_EQ(xrunCount(Direction::Input), 0u);
    EXPECT_EQ(lastDeviceError(), "");
    delete in;
    delete out;
    setDriver(nullptr);
}

}  // namespace
