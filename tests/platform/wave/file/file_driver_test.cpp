// The WAV-file driver: a file recorded through the wave API comes back in the
// recorder's format (rate, channels, sample size converted), block after block
// from its first frame, then silence or the file again; an unreadable file is
// refused with its path and the reason. The files are written here by hand.
#include "platform/wave/driver_registry.h"
#include "platform/wave/file/file_driver.h"
#include "platform/wave/wave_api.h"
#include "platform/win/message_window.h"
#include "support/installed_drivers.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace {

using namespace platform;
using namespace platform::win;
using namespace platform::wave;
using namespace platform::wave::file;


void put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

// A RIFF/WAVE file: tag 1 (PCM) or 3 (IEEE float), interleaved data bytes.
void writeWav(const std::string& path, unsigned tag, unsigned channels, std::uint32_t rate, unsigned bits,
              const std::string& data) {
    std::string s = "RIFF";
    put32(s, static_cast<std::uint32_t>(36 + data.size()));
    s += "WAVEfmt ";
    put32(s, 16);
    put16(s, tag);
    put16(s, channels);
    put32(s, rate);
    put32(s, rate * channels * bits / 8);
    put16(s, channels * bits / 8);
    put16(s, bits);
    s += "data";
    put32(s, static_cast<std::uint32_t>(data.size()));
    s += data;
    std::ofstream(path, std::ios::binary) << s;
}

std::string samples16(const std::vector<std::int16_t>& v) {
    std::string s;
    for (std::int16_t x : v) put16(s, static_cast<std::uint16_t>(x));
    return s;
}

// Records `blocks` buffers of `bytes` through the wave API from the installed
// driver, two buffers in circulation, on `clock`.
std::vector<std::vector<char>> record(VirtualClock& clock, const WAVEFORMATEX& format, std::size_t bytes,
                                      int blocks) {
    std::vector<std::vector<char>> got;
    std::vector<std::vector<char>> data(2, std::vector<char>(bytes));
    std::vector<WAVEHDR> headers(2);
    HWAVEIN h{};
    MessageWindow window([&](const Message& m) {
        if (m.msg != MM_WIM_DATA) return;
        auto* hdr = reinterpret_cast<WAVEHDR*>(m.lParam);
        got.emplace_back(hdr->lpData, hdr->lpData + hdr->dwBytesRecorded);
        if (static_cast<int>(got.size()) + 1 < blocks) waveInAddBuffer(h, hdr, sizeof(WAVEHDR));
    });
    EXPECT_EQ(waveInOpen(&h, WAVE_MAPPER, &format, window.handle(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    for (int i = 0; i < 2; ++i) {
        headers[i].lpData = data[i].data();
        headers[i].dwBufferLength = static_cast<DWORD>(bytes);
        waveInPrepareHeader(h, &headers[i], sizeof(WAVEHDR));
        waveInAddBuffer(h, &headers[i], sizeof(WAVEHDR));
    }
    waveInStart(h);
    while (static_cast<int>(got.size()) < blocks && clock.nextDeadline()) {
        clock.advanceTo(*clock.nextDeadline());
        QCoreApplication::sendPostedEvents();
    }
    waveInReset(h);
    QCoreApplication::sendPostedEvents();
    got.resize(static_cast<std::size_t>(blocks));
    for (auto& hdr : headers) waveInUnprepareHeader(h, &hdr, sizeof(WAVEHDR));
    EXPECT_EQ(waveInClose(h), MMSYSERR_NOERROR);
    return got;
}

std::vector<std::int16_t> as16(const std::vector<std::vector<char>>& blocks) {
    std::vector<std::int16_t> out;
    for (const auto& b : blocks) {
        const std::size_t n = b.size() / 2;
        const std::size_t at = out.size();
        out.resize(at + n);
        std::memcpy(out.data() + at, b.data(), n * 2);
    }
    return out;
}

class WaveFileDriver : public ::testing::Test {
protected:

    std::shared_ptr<FileDriver> install(const std::string& name, bool loop = false) {
        std::string error;
        auto driver = FileDriver::create(
            FileDriverConfig{dir.filePath(QString::fromStdString(name)).toStdString(), loop}, error, clock);
        EXPECT_TRUE(driver) << error;
        setDriver(driver);
        return driver;
    }
    std::string path(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }

    QTemporaryDir dir;
    VirtualClock clock;
    // Last: the drivers go before what they use.
    testsupport::InstalledDrivers installed;
};

TEST_F(WaveFileDriver, SameFormatRoundTripsThenSilenceOrLoop) {
    // 6000 stereo frames of a distinct pattern: 2.4 blocks of 2500 frames.
    std::vector<std::int16_t> frames;
    for (int i = 0; i < 6000; ++i) {
        frames.push_back(static_cast<std::int16_t>(i * 5 - 15000));
        frames.push_back(static_cast<std::int16_t>(-i * 3));
    }
    writeWav(path("pattern.wav"), 1, 2, 44100, 16, samples16(frames));

    for (const bool loop : {false, true}) {
        install("pattern.wav", loop);
        const auto got = as16(record(clock, pcmFormat(44100, 2, 16), 10000, 4));
        ASSERT_EQ(got.size(), 20000u);
        for (std::size_t i = 0; i < got.size(); ++i) {
            const std::int16_t expected = i < frames.size() ? frames[i] : loop ? frames[i - frames.size()] : 0;
            ASSERT_EQ(got[i], expected) << "sample " << i << (loop ? " looping" : "");
        }
    }
}

TEST_F(WaveFileDriver, ConvertsRateChannelsAndSampleFormat) {
    // 48 kHz mono float: a 1 kHz sine at half scale.
    std::string data;
    for (int i = 0; i < 48000; ++i) {
        const float v = static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * 1000.0 * i / 48000.0));
        char b[4];
        std::memcpy(b, &v, 4);
        data.append(b, 4);
    }
    writeWav(path("sine48k.wav"), 3, 1, 48000, 32, data);
    install("sine48k.wav");
    const auto got = as16(record(clock, pcmFormat(44100, 2, 16), 10000, 8));
    double sum = 0;
    int crossings = 0;
    for (std::size_t f = 0; f < got.size() / 2; ++f) {
        ASSERT_EQ(got[2 * f], got[2 * f + 1]) << "mono goes to both channels, frame " << f;
        sum += static_cast<double>(got[2 * f]) * got[2 * f];
        if (f > 0 && got[2 * (f - 1)] < 0 && got[2 * f] >= 0) ++crossings;
    }
    const double frames = static_cast<double>(got.size() / 2);
    EXPECT_NEAR(std::sqrt(sum / frames), 16384 / std::sqrt(2.0), 30);
    EXPECT_NEAR(crossings / (frames / 44100), 1000, 5);  // the pitch survives the rate change

    // 8-bit unsigned, three channels, into 16-bit stereo: the first two channels, scaled up.
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += {static_cast<char>(i % 256), static_cast<char>(255 - i % 256), '\x80'};
    writeWav(path("three8.wav"), 1, 3, 44100, 8, bytes);
    install("three8.wav");
    const auto eight = as16(record(clock, pcmFormat(44100, 2, 16), 10000, 1));
    for (int i = 0; i < 2500; ++i) {
        ASSERT_EQ(eight[2 * i], (i % 256 - 128) * 256) << i;
        ASSERT_EQ(eight[2 * i + 1], (127 - i % 256) * 256) << i;
    }

    // 16-bit file into an 8-bit mono recorder: the first channel, unsigned.
    writeWav(path("loud.wav"), 1, 2, 44100, 16, samples16({-32768, 5, 256, 0, 32767, 0, 0, 0}));
    install("loud.wav");
    const auto small = record(clock, pcmFormat(44100, 1, 8), 4, 1)[0];
    EXPECT_EQ(std::vector<unsigned char>(small.begin(), small.end()), (std::vector<unsigned char>{0, 129, 255, 128}));
}

TEST_F(WaveFileDriver, AConvertedRecordingStartsAgainAtTheFilesFirstFrame) {
    std::string data;
    for (int i = 0; i < 48000; ++i) data += samples16({static_cast<std::int16_t>(i % 300 * 90 - 13500)});
    writeWav(path("saw48k.wav"), 1, 1, 48000, 16, data);
    install("saw48k.wav");
    const auto first = as16(record(clock, pcmFormat(44100, 1, 16), 4000, 3));
    const auto again = as16(record(clock, pcmFormat(44100, 1, 16), 4000, 3));
    ASSERT_EQ(first.size(), 6000u);
    EXPECT_EQ(first, again);
}

TEST_F(WaveFileDriver, UnreadableFilesAreRefusedWithPathAndReason) {
    std::ofstream(path("notes.txt")) << "This is not a sound file.\n";
    std::string error;
    EXPECT_EQ(FileDriver::create(FileDriverConfig{path("notes.txt")}, error, clock), nullptr);
    EXPECT_NE(error.find("Cannot read the input WAV file '" + path("notes.txt") + "': "), std::string::npos) << error;
    EXPECT_GT(error.size(), ("Cannot read the input WAV file '" + path("notes.txt") + "': ").size()) << error;

    error.clear();
    EXPECT_EQ(FileDriver::create(FileDriverConfig{path("missing.wav")}, error, clock), nullptr);
    EXPECT_NE(error.find(path("missing.wav")), std::string::npos) << error;

    writeWav(path("empty.wav"), 1, 2, 44100, 16, "");
    error.clear();
    EXPECT_EQ(FileDriver::create(FileDriverConfig{path("empty.wav")}, error, clock), nullptr);
    EXPECT_EQ(error, "The input WAV file '" + path("empty.wav") + "' holds no audio");
}

}  // namespace
