// A headless run whose input or output failed ends with code 1, after writing
// what it could, so that a script can tell it from success: outputs that
// cannot be written (a missing folder, a full device, a disk that fills during
// the run), an input file cut short, sound devices that do not exist. Without
// a mixer nothing is measured, and the readouts say so instead of showing the
// numbers of the window's design.
#include "support/program_run.h"
#include "support/test_wav.h"

#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::WavSamples;

TEST(ExitCodes, OutputsThatCannotBeWrittenEndWithCode1AfterTheOthers) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("no/such/folder/");
    testsupport::ProgramRun run;
    const QJsonObject s =
        testsupport::runForState(dir, {"--audio=sim", "--output-wav", missing + "out.wav", "--run-for", "1"}, &run, 1);
    EXPECT_FALSE(s.isEmpty()) << "the state is written all the same: " << run.err.constData();
    EXPECT_TRUE(run.err.contains("out.wav")) << run.err.constData();

    const QStringList sim{"--headless", "--audio=sim", "--run-for", "0.2"};
    for (const QStringList& output : {QStringList{"--state", missing + "state.json"},
                                      QStringList{"--snapshot", "/dev/full"}, QStringList{"--state", "/dev/full"}}) {
        const auto r = testsupport::runProgram(sim + output);
        EXPECT_EQ(r.exitCode, 1) << output.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("cannot write")) << r.err.constData();
    }
    testsupport::RunSetup full;
    full.standardOutputFile = QStringLiteral("/dev/full");
    const auto readouts = testsupport::runProgram(sim + QStringList{"--print-readouts"}, full);
    EXPECT_EQ(readouts.exitCode, 1) << readouts.err.constData();

    // The disk fills while the generator is being written (22050 frames of 2 bytes a second).
    const QString wav = dir.filePath("filling.wav");
    full = {};
    full.fileSizeLimit = 32 * 1024;
    const QString png = dir.filePath("after.png");
    const auto filling = testsupport::runProgram(
        {"--headless", "--audio=sim", "--output-wav", wav, "--run-for", "3", "--snapshot", png}, full);
    EXPECT_EQ(filling.exitCode, 1) << filling.err.constData();
    EXPECT_TRUE(filling.err.contains("filling.wav")) << filling.err.constData();
    EXPECT_FALSE(QImage(png).isNull()) << "the snapshot, smaller than the limit, is written";
}

TEST(ExitCodes, AnInputCutShortOrSoundDevicesThatDoNotExistEndWithCode1) {
    QTemporaryDir dir;
    const QString cut = dir.filePath("cut.wav");
    ASSERT_TRUE(testsupport::writeTestWav(cut, 44100, 2, WavSamples::Pcm16, 44100, testsupport::testSine(50, 44100),
                                          4 * 44100 * 3));  // the header gives three seconds
    testsupport::ProgramRun run;
    const QJsonObject s = testsupport::runForState(
        dir, {"--audio=file", "--input-wav", cut, "--run-for", "0.5"}, &run, 1);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    EXPECT_TRUE(s["audio"].toObject()["DeviceError"].toString().contains("cut short"));
    EXPECT_GT(s["state"].toObject()["AmmeterValue"].toDouble(), 10) << "what the file holds is read";

    const auto pcm = testsupport::runProgram({"--headless", "--audio=alsa", "--input-device", "nosuchpcm",
                                              "--output-device", "nosuchpcm", "--run-for", "0"});
    EXPECT_EQ(pcm.exitCode, 1) << pcm.err.constData();
}

TEST(ExitCodes, WithoutAMixerTheReadoutsSayThereIsNoReading) {
    QTemporaryDir dir;
    const QStringList noCard{"--audio=alsa",     "--mixer-device", "nosuchcard", "--input-device",
                             "nosuchpcm",        "--output-device", "nosuchpcm", "--run-for",
                             "0",                "--print-readouts"};
    testsupport::ProgramRun run;
    const QJsonObject s = testsupport::runForState(dir, noCard, &run, 1);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    const QJsonObject controls = s["controls"].toObject();
    EXPECT_EQ(controls["Panel3"].toObject()["caption"].toString(), QStringLiteral("--- mA"));
    EXPECT_EQ(controls["Panel2"].toObject()["caption"].toString(), QStringLiteral("--- V"));
    EXPECT_EQ(controls["Panel4"].toObject()["caption"].toString(), QStringLiteral("--- mV"));
    EXPECT_FALSE(s["state"].toObject()["Measuring"].toBool(true));
    EXPECT_TRUE(run.out.startsWith("no reading")) << run.out.constData();
    EXPECT_FALSE(run.out.contains("123 mA") || run.out.contains("3.28 V")) << run.out.constData();

    // A start that went through measures, and says so.
    const QJsonObject sim = testsupport::runForState(dir, {"--audio=sim", "--run-for", "0.2"}, &run);
    ASSERT_FALSE(sim.isEmpty()) << run.err.constData();
    EXPECT_TRUE(sim["state"].toObject()["Measuring"].toBool());
}

}  // namespace
