// The program's sound modes end to end, headless: the virtual bench, a WAV
// file as line input, the generator written to a WAV file, and ALSA with no
// usable device.
#include "support/program_run.h"

#include <QDataStream>
#include <QtEndian>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

using testsupport::runForState;

double stateValue(const QJsonObject& s, const char* name) { return s["state"].toObject()[name].toDouble(); }

// A 16-bit PCM WAV file.
void writeWav(const QString& path, int rate, int channels, const std::vector<std::int16_t>& samples) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataBytes = static_cast<quint32>(samples.size() * 2);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(channels) << quint32(rate) << quint32(rate * channels * 2)
        << quint16(channels * 2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataBytes;
    for (auto s : samples) out << s;
}

struct Wav {
    int rate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;
};

Wav readWav(const QString& path) {
    Wav w;
    const QByteArray bytes = testsupport::readFile(path);
    if (bytes.size() < 44 || !bytes.startsWith("RIFF")) return w;
    auto u32 = [&](int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    auto u16 = [&](int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    for (int at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const int size = static_cast<int>(u32(at + 4));
        if (id == "fmt ") {
            w.channels = u16(at + 10);
            w.rate = static_cast<int>(u32(at + 12));
        } else if (id == "data") {
            for (int i = 0; i + 1 < size && at + 8 + i + 1 < bytes.size(); i += 2)
                w.samples.push_back(static_cast<std::int16_t>(u16(at + 8 + i)));
        }
        at += 8 + size + (size & 1);
    }
    return w;
}

TEST(AudioModes, BenchReadsTheCircuitsCurrentAndVoltage) {
    QTemporaryDir dir;
    testsupport::ProgramRun run;
    const QJsonObject s =
        runForState(dir, {"--audio=bench", "--do", "track:TrackBar1=32000", "--run-for", "3"}, &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    // 22400 × 3.5 / 22 = 3564 mV into 100 Ω + 1 Ω shunt: 35.3 mA, 3.53 V.
    EXPECT_NEAR(stateValue(s, "AmmeterValue"), 35.3, 1.5);
    EXPECT_NEAR(stateValue(s, "VoltmeterValue"), 3530, 150);
    const QJsonObject mixer = s["mixer"].toObject();
    EXPECT_TRUE(mixer["Active"].toBool());
    for (const char* line : {"WaveOut", "SpeakersDest"}) {
        const QJsonObject volume = mixer[line].toObject()["Volume"].toObject();
        EXPECT_EQ(volume["Left"].toInt(), 65535) << line;
        EXPECT_EQ(volume["Right"].toInt(), 65535) << line;
    }

    const QJsonObject load = runForState(
        dir, {"--audio=bench", "--bench-load", "1000", "--do", "track:TrackBar1=32000", "--run-for", "3"}, &run);
    ASSERT_FALSE(load.isEmpty()) << run.err.constData();
    EXPECT_NEAR(stateValue(load, "AmmeterValue"), 3.56, 0.2);
}

TEST(AudioModes, AWavFileIsTheLineInput) {
    QTemporaryDir dir;
    const QString wav = dir.filePath("input.wav");
    std::vector<std::int16_t> samples;
    for (int i = 0; i < 44100 * 3; ++i) {
        const double phase = 2 * M_PI * 50 * i / 44100.0;
        samples.push_back(static_cast<std::int16_t>(std::lround(10000 * std::sin(phase))));  // left
        samples.push_back(static_cast<std::int16_t>(std::lround(20000 * std::sin(phase))));  // right
    }
    writeWav(wav, 44100, 2, samples);
    testsupport::ProgramRun run;
    const QJsonObject s = runForState(dir, {"--audio=file", "--input-wav", wav, "--run-for", "2"}, &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    // The RMS over the block and as many zeros is half the peak.
    EXPECT_NEAR(stateValue(s, "AmmeterValue"), 5000 * 0.0142, 2.0);
    EXPECT_NEAR(stateValue(s, "VoltmeterValue"), (10000 * 37 - 80) / 24.0, 400);
    EXPECT_GT(s["audio"].toObject()["AudioIn1"].toObject()["FilledCount"].toInt(), 30);

    const auto missing = testsupport::runProgram(
        {"--headless", "--audio=file", "--input-wav", dir.filePath("missing.wav"), "--run-for", "1"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("missing.wav")) << missing.err.constData();
}

TEST(AudioModes, OutputWavHoldsTheGeneratorsSine) {
    QTemporaryDir dir;
    const QString out = dir.filePath("out.wav");
    const auto run = testsupport::runProgram({"--headless", "--audio=sim", "--output-wav", out, "--do",
                                              "menu:digitlnvoltmetrstejnosmrnhozdroje2", "--do",
                                              "track:TrackBar1=32000", "--do", "track:TrackBar2=1000", "--run-for",
                                              "3"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const Wav w = readWav(out);
    ASSERT_EQ(w.rate, 22050);
    ASSERT_EQ(w.channels, 1);
    ASSERT_GT(w.samples.size(), 22050u * 2);
    // The last second: played after the four buffers primed at 50 Hz, amplitude 100.
    const std::vector<std::int16_t> last(w.samples.end() - 22050, w.samples.end());
    int peak = 0;
    int crossings = 0;
    for (std::size_t i = 0; i < last.size(); ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(last[i])));
        if (i > 0 && last[i - 1] < 0 && last[i] >= 0) ++crossings;
    }
    EXPECT_EQ(peak, 22400);
    EXPECT_NEAR(crossings, 1000, 1);
}

TEST(AudioModes, AlsaWithoutAnyDeviceShowsTheMixerErrorAndRecordsNothing) {
    QTemporaryDir dir;
    testsupport::ProgramRun run;
    const QJsonObject s =
        runForState(dir,
                    {"--audio=alsa", "--mixer-device", "nosuchcard", "--input-device", "nosuchpcm", "--output-device",
                     "nosuchpcm", "--run-for", "0.5"},
                    &run, 1);  // the devices named do not exist: code 1, the state written all the same
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    EXPECT_EQ(s["errors"].toArray(), QJsonArray{"No mixer device present in this system."});
    EXPECT_FALSE(s["mixer"].toObject()["Active"].toBool());
    const QJsonObject in = s["audio"].toObject()["AudioIn1"].toObject();
    EXPECT_EQ(in["FilledCount"].toInt(), 0);
    EXPECT_EQ(in["DoneCount"].toInt(), 0);
    EXPECT_EQ(stateValue(s, "AmmeterValue"), 0);
    EXPECT_FALSE(run.err.contains("ALSA lib")) << "the sound library's own lines: " << run.err.constData();
}

}  // namespace
