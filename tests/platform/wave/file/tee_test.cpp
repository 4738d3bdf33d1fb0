// The tee driver behind --output-wav: what another driver's output device
// plays also goes into a 16-bit WAV file, buffer by buffer in play order;
// buffers that a reset hands back unplayed stay out; the file is complete
// after each close, and a later stream of the same format is appended.
#include "platform/wave/device_status.h"
#include "platform/wave/driver_registry.h"
#include "platform/wave/file/tee_driver.h"
#include "platform/wave/sim/sim_driver.h"
#include "platform/wave/wave_api.h"
#include "platform/win/message_window.h"
#include "support/installed_drivers.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace platform;
using namespace platform::win;
using namespace platform::wave;
using namespace platform::wave::file;
using namespace platform::wave::sim;


std::uint32_t get32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

struct WavFile {
    unsigned channels = 0, rate = 0, bits = 0;
    std::vector<std::int16_t> samples;
    bool sizesAgree = false;  // RIFF and data chunk sizes match the file
};

WavFile readWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    WavFile w;
    if (s.size() < 12 || s.compare(0, 4, "RIFF") != 0 || s.compare(8, 4, "WAVE") != 0) return w;
    bool riffOk = get32(s, 4) + 8 == s.size();
    for (std::size_t at = 12; at + 8 <= s.size();) {
        const std::string id = s.substr(at, 4);
        const std::uint32_t size = get32(s, at + 4);
        if (id == "fmt ") {
            w.channels = static_cast<unsigned char>(s[at + 10]);
            w.rate = get32(s, at + 12);
            w.bits = static_cast<unsigned char>(s[at + 22]);
        } else if (id == "data") {
            w.sizesAgree = riffOk && at + 8 + size == s.size();
            w.samples.resize(size / 2);
            std::memcpy(w.samples.data(), s.data() + at + 8, w.samples.size() * 2);
        }
        at += 8 + size + (size & 1);
    }
    return w;
}

// Plays numbered buffers of 4096 mono frames through the wave API, four in
// circulation; buffer n holds n * 10 + (i % 7) in sample i.
class Player {
public:
    Player(VirtualClock& clock, const WAVEFORMATEX& format) : clock_(clock), format_(format) {
        EXPECT_EQ(waveOutOpen(&h_, WAVE_MAPPER, &format_, window_.handle(), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
        for (int i = 0; i < 4; ++i) {
            data_[i].resize(4096 * format_.nBlockAlign);
            headers_[i].lpData = data_[i].data();
            headers_[i].dwBufferLength = static_cast<DWORD>(data_[i].size());
            waveOutPrepareHeader(h_, &headers_[i], sizeof(WAVEHDR));
        }
    }

    // Writes until `total` buffers have been written; returns once `played` are back.
    void play(int total, int played) {
        total_ = total;
        for (int i = 0; i < 4 && written_ < total_; ++i) write(headers_[i]);
        while (done_ < played && clock_.nextDeadline()) {
            clock_.advanceTo(*clock_.nextDeadline());
            QCoreApplication::sendPostedEvents();
        }
    }

    void resetAndClose() {
        waveOutReset(h_);
        QCoreApplication::sendPostedEvents();
        for (auto& hdr : headers_) waveOutUnprepareHeader(h_, &hdr, sizeof(WAVEHDR));
        EXPECT_EQ(waveOutClose(h_), MMSYSERR_NOERROR);
    }

    static std::int16_t sample(int buffer, int i) { return static_cast<std::int16_t>(buffer * 10 + i % 7); }

private:
    void write(WAVEHDR& hdr) {
        for (int i = 0; i < 4096; ++i) {
            const std::int16_t s = sample(written_, i);
            for (int c = 0; c < format_.nChannels; ++c) {
                if (format_.wBitsPerSample == 8)
                    hdr.lpData[i * format_.nBlockAlign + c] = static_cast<char>(128 + s / 10 - c);
                else
                    std::memcpy(hdr.lpData + i * format_.nBlockAlign + 2 * c, &s, 2);
            }
        }
        ++written_;
        waveOutWrite(h_, &hdr, sizeof(WAVEHDR));
    }

    VirtualClock& clock_;
    WAVEFORMATEX format_;
    HWAVEOUT h_{};
    std::vector<char> data_[4];
    WAVEHDR headers_[4]{};
    int total_ = 0, written_ = 0, done_ = 0;
    MessageWindow window_{[this](const Message& m) {
        if (m.msg != MM_WOM_DONE) return;
        ++done_;
        if (written_ < total_) write(*reinterpret_cast<WAVEHDR*>(m.lParam));
    }};
};

class WaveFileTee : public ::testing::Test {
protected:
    void SetUp() override {
        clearDeviceStatus();
        sim = std::make_shared<SimDriver>(clock);
        tee = std::make_shared<TeeDriver>(sim, TeeConfig{path});
        setDriver(tee);
    }

    QTemporaryDir dir;
    const std::string path = dir.filePath("played.wav").toStdString();
    VirtualClock clock;
    std::shared_ptr<SimDriver> sim;
    std::shared_ptr<TeeDriver> tee;
    // Last: the drivers go before what they use.
    testsupport::InstalledDrivers installed;
};

TEST_F(WaveFileTee, KeepsThePlayedBuffersInOrderAndAppendsTheNextStream) {
    const WAVEFORMATEX mono = pcmFormat(22050, 1, 16);
    {
        Player player(clock, mono);
        player.play(10, 7);       // 7 played, 3 still queued
        player.resetAndClose();   // ... and handed back unplayed
    }
    WavFile w = readWav(path);
    EXPECT_EQ(w.channels, 1u);
    EXPECT_EQ(w.rate, 22050u);
    EXPECT_EQ(w.bits, 16u);
    EXPECT_TRUE(w.sizesAgree);
    ASSERT_EQ(w.samples.size(), 7u * 4096);
    for (std::size_t i = 0; i < w.samples.size(); ++i)
        ASSERT_EQ(w.samples[i], Player::sample(static_cast<int>(i / 4096), static_cast<int>(i % 4096))) << i;

    // The next stream of the same format continues the file; one of another
    // format is left out, and the user is told.
    {
        Player player(clock, mono);
        player.play(2, 2);
        player.resetAndClose();
    }
    {
        Player player(clock, pcmFormat(44100, 2, 16));
        player.play(1, 1);
        player.resetAndClose();
    }
    w = readWav(path);
    EXPECT_TRUE(w.sizesAgree);
    ASSERT_EQ(w.samples.size(), 9u * 4096);
    EXPECT_EQ(w.samples[7 * 4096], Player::sample(0, 0));
    EXPECT_EQ(w.samples[8 * 4096 + 3], Player::sample(1, 3));
    EXPECT_EQ(tee->framesWritten(), 9 * 4096);
    EXPECT_NE(lastDeviceError(Direction::Output).find("is not written"), std::string::npos);
    EXPECT_EQ(sim->played().size(), 7u + 2u + 1u);  // the wrapped driver played every stream
}

TEST_F(WaveFileTee, EightBitStreamsBecomeSixteenBitAndQueriesWriteNothing) {
    const WAVEFORMATEX eight = pcmFormat(11025, 2, 8);
    EXPECT_EQ(waveOutOpen(nullptr, WAVE_MAPPER, &eight, 0, 0, WAVE_FORMAT_QUERY), MMSYSERR_NOERROR);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
    {
        Player player(clock, eight);
        player.play(1, 1);
        player.resetAndClose();
    }
    const WavFile w = readWav(path);
    EXPECT_EQ(w.channels, 2u);
    EXPECT_EQ(w.rate, 11025u);
    EXPECT_EQ(w.bits, 16u);
    ASSERT_EQ(w.samples.size(), 2u * 4096);
    for (int i = 0; i < 4096; ++i) {
        ASSERT_EQ(w.samples[2 * i], Player::sample(0, i) / 10 * 256) << i;
        ASSERT_EQ(w.samples[2 * i + 1], (Player::sample(0, i) / 10 - 1) * 256) << i;
    }
}

TEST_F(WaveFileTee, UnwritablePathIsReportedOnceAndPlayingGoesOn) {
    tee = std::make_shared<TeeDriver>(sim, TeeConfig{dir.filePath("no/such/dir/x.wav").toStdString()});
    setDriver(tee);
    Player player(clock, pcmFormat(22050, 1, 16));
    player.play(3, 3);
    player.resetAndClose();
    EXPECT_NE(lastDeviceError(Direction::Output).find("Cannot write the output WAV file"), std::string::npos)
        << lastDeviceError(Direction::Output);
    EXPECT_EQ(sim->played().size(), 3u);
}

}  // namespace
