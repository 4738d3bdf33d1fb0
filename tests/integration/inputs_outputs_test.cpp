// Input and output files that would destroy an input, block the start or
// fake a reading: the WAV output that is the input (by name, by a link), a
// FIFO or a device where a file is needed, samples that are not numbers, a
// rate no file has; and the rate conversion, which reads every rate alike and
// filters out what lies above the recorder's Nyquist frequency.
#include "support/program_run.h"
#include "support/test_wav.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testsupport::WavSamples;

QStringList fileRun(const QString& wav) { return {"--audio=file", "--input-wav", wav, "--run-for", "2"}; }

double ammeterOf(const QTemporaryDir& dir, const QString& wav) {
    testsupport::ProgramRun run;
    const QJsonObject s = testsupport::runForState(dir, fileRun(wav), &run);
    EXPECT_FALSE(s.isEmpty()) << wav.toStdString() << ": " << run.err.constData();
    return s["state"].toObject()["AmmeterValue"].toDouble();
}

TEST(InputsOutputs, AnOutputThatIsTheInputIsRefusedAndTheInputKept) {
    QTemporaryDir dir;
    const QString input = dir.filePath("recording.wav");
    ASSERT_TRUE(testsupport::writeTestWav(input, 44100, 2, WavSamples::Pcm16, 44100, testsupport::testSine(50, 44100)));
    const QByteArray recording = testsupport::readFile(input);
    const QString symlink = dir.filePath("link.wav");
    const QString hardLink = dir.filePath("hard.wav");
    ASSERT_TRUE(QFile::link(input, symlink));
    ASSERT_EQ(::link(QFile::encodeName(input).constData(), QFile::encodeName(hardLink).constData()), 0);
    for (const QStringList& output : {QStringList{"--output-wav", input}, QStringList{"--output-wav", symlink},
                                      QStringList{"--output-wav", hardLink}, QStringList{"--state", hardLink}}) {
        const auto run = testsupport::runProgram(QStringList{"--headless", "--audio=file", "--input-wav", input,
                                                             "--run-for", "1"} + output);
        EXPECT_EQ(run.exitCode, 2) << output.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("is the file this run reads")) << run.err.constData();
        EXPECT_EQ(testsupport::readFile(input), recording) << output.join(' ').toStdString();
    }
}

TEST(InputsOutputs, AFifoOrADeviceWhereAFileIsNeededIsRefusedWithoutWaiting) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.wav");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const auto input = testsupport::runProgram({"--headless", "--audio=file", "--input-wav", fifo}, 20000);
    EXPECT_EQ(input.exitCode, 2) << input.err.constData();
    EXPECT_TRUE(input.err.contains("FIFO")) << input.err.constData();
    for (const QString& output : {fifo, QStringLiteral("/dev/full"), dir.path()}) {
        const auto run = testsupport::runProgram({"--headless", "--audio=sim", "--output-wav", output}, 20000);
        EXPECT_EQ(run.exitCode, 2) << output.toStdString() << ": " << run.err.constData();
        EXPECT_TRUE(run.err.contains("not a regular file")) << run.err.constData();
    }
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(InputsOutputs, SamplesThatAreNotNumbersAndImpossibleRatesAreErrorsNeverReadings) {
    QTemporaryDir dir;
    const QString nan = dir.filePath("nan.wav");
    const double notANumber = std::numeric_limits<double>::quiet_NaN();
    ASSERT_TRUE(testsupport::writeTestWav(nan, 44100, 2, WavSamples::Float32, 44100,
                                          [&](int f, int) { return f % 2 == 0 ? notANumber : 0.5; }));
    const auto refused = testsupport::runProgram({"--headless", "--audio=file", "--input-wav", nan});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("not a number")) << refused.err.constData();

    // Anywhere in the file, one kind of fault, one exit code: an infinity at
    // frame 5000 is refused before the run as one at frame 100 is, and so is
    // a NaN half a second in.
    const auto sine = testsupport::testSine(50, 44100);
    struct Late {
        WavSamples kind;
        int frame;
        double value;
    };
    const double infinity = std::numeric_limits<double>::infinity();
    for (const Late l : {Late{WavSamples::Float32, 100, infinity}, Late{WavSamples::Float32, 5000, -infinity},
                         Late{WavSamples::Float64, 22050, notANumber}}) {
        const QString late = dir.filePath(QStringLiteral("late%1.wav").arg(l.frame));
        ASSERT_TRUE(testsupport::writeTestWav(late, 44100, 2, l.kind, 3 * 44100, [&](int f, int c) {
            return f == l.frame && c == 1 ? l.value : sine(f, c);
        }));
        testsupport::ProgramRun run;
        EXPECT_TRUE(testsupport::runForState(dir, fileRun(late), &run, 2).isEmpty()) << "nothing is written";
        EXPECT_EQ(run.exitCode, 2) << l.frame << ": " << run.err.constData();
        EXPECT_TRUE(run.err.contains("not a number (NaN or infinity) at frame " + QByteArray::number(l.frame)))
            << run.err.constData();
    }

    for (std::uint32_t rate : {2147483647u, 100u}) {
        const QString odd = dir.filePath(QStringLiteral("rate%1.wav").arg(rate));
        ASSERT_TRUE(testsupport::writeTestWav(odd, rate, 2, WavSamples::Pcm16, 4410, sine));
        const auto r = testsupport::runProgram({"--headless", "--audio=file", "--input-wav", odd});
        EXPECT_EQ(r.exitCode, 2) << rate;
        EXPECT_TRUE(r.err.contains("sample rate")) << r.err.constData();
    }
}

TEST(InputsOutputs, EveryRateAndFormatReadsAlikeAndWhatNoCardPassesIsFilteredOut) {
    QTemporaryDir dir;
    const QString reference = dir.filePath("s16-44100.wav");
    ASSERT_TRUE(testsupport::writeTestWav(reference, 44100, 2, WavSamples::Pcm16, 3 * 44100,
                                          testsupport::testSine(50, 44100)));
    const double current = ammeterOf(dir, reference);
    ASSERT_GT(current, 50);
    struct Variant {
        int rate;
        WavSamples kind;
    };
    for (const Variant v : {Variant{8000, WavSamples::Pcm16}, Variant{48000, WavSamples::Float32},
                            Variant{96000, WavSamples::Pcm24}, Variant{192000, WavSamples::Float64}}) {
        const QString wav = dir.filePath(QStringLiteral("variant%1.wav").arg(v.rate));
        ASSERT_TRUE(testsupport::writeTestWav(wav, v.rate, 2, v.kind, 3 * v.rate, testsupport::testSine(50, v.rate)));
        EXPECT_NEAR(ammeterOf(dir, wav), current, current * 0.0005) << v.rate << " Hz";
    }
    // 30 kHz at 96 kHz: above the 22.05 kHz a recorder at 44.1 kHz can hold.
    const QString ultrasound = dir.filePath("tone30k.wav");
    ASSERT_TRUE(testsupport::writeTestWav(ultrasound, 96000, 2, WavSamples::Pcm16, 3 * 96000,
                                          testsupport::testSine(30000, 96000)));
    EXPECT_LT(ammeterOf(dir, ultrasound), current * 0.005);
}

}  // namespace
