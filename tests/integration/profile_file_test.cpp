// The profile file through the program, as a crowded disk, a busy classroom
// or a bare account would have it: a save that cannot be written completely
// leaves the file as it was and ends with code 2; two programs saving at once
// both land; without a home nothing is saved under "/"; a FIFO as the file
// never holds up the start.
#include "app/calibration/calibration_session.h"
#include "app/calibration/calibration_store.h"
#include "support/program_run.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// A headless run of `audio` that calibrates its source (amplitude 100 reads
// 14.3 mV; told 20 mV) and saves the profile into `file`.
QStringList calibrateAndSave(const char* audio, const QString& file) {
    return {"--headless", audio, "--calibration", file, "--do", "calibrate:source=0.02", "--do", "calibration:save"};
}

// A profile file with `cards` cards in it.
QByteArray profiles(int cards) {
    QByteArray json = "{\n    \"Cards\": {\n";
    for (int i = 0; i < cards; ++i)
        json += QStringLiteral("        \"USB Audio %1 | capture hw:%1 | playback hw:%1\": { \"AmmeterGain\": 1.25, "
                               "\"VoltmeterGain\": 0.8, \"SourceGain\": 1.1, "
                               "\"Created\": \"2026-12-08T11:00:00Z\" }%2\n")
                    .arg(i)
                    .arg(i + 1 < cards ? "," : "")
                    .toUtf8();
    return json + "    }\n}\n";
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

TEST(ProfileFile, ASaveOntoAFullDiskLeavesTheFileAsItWasAndEndsWithCode2) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("calibration.json"));
    const QByteArray before = profiles(8);  // about 1.3 KB; written again with one card more
    write(file, before);
    testsupport::RunSetup fullDisk;
    fullDisk.fileSizeLimit = 1024;
    const testsupport::ProgramRun run = testsupport::runProgram(calibrateAndSave("--audio=sim", file), fullDisk);
    EXPECT_EQ(run.exitCode, 2) << run.err.constData();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Kalibraci nelze uložit do %1").arg(file).toUtf8()))
        << run.err.constData();
    EXPECT_EQ(testsupport::readFile(file), before);
    // No half-written copy, no lock left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("calibration.json")});
}

// A compact profile file of valid cards, as near `bytes` long as whole
// cards allow without passing it.
QByteArray compactProfiles(qint64 bytes) {
    const QJsonObject card{{"Format", 2}, {"AmmeterGain", 1.25}, {"VoltmeterGain", 0.8}, {"SourceGain", 1.1},
                           {"Created", "2026-12-08T11:00:00Z"}};
    auto document = [&card](qint64 count) {
        QJsonObject cards;
        for (qint64 i = 0; i < count; ++i)
            cards.insert(QStringLiteral("USB Audio %1 | capture hw:%1 | playback hw:%1").arg(i, 6, 10, QLatin1Char('0')),
                         card);
        return QJsonDocument(QJsonObject{{"Cards", cards}}).toJson(QJsonDocument::Compact);
    };
    const qint64 one = document(1).size();
    const qint64 each = document(2).size() - one;
    return document((bytes - one) / each + 1);
}

TEST(ProfileFile, TheProgramNeverWritesAProfileItWouldRefuse) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("calibration.json"));
    // 0.9 MiB compact is about 1.5 MB laid out: such a save comes out compact, and reads back.
    const QByteArray large = compactProfiles(900 * 1024);
    ASSERT_GT(QJsonDocument::fromJson(large).toJson(QJsonDocument::Indented).size(),
              app::calibration::kLargestCalibrationFile);
    write(file, large);
    const std::size_t before = app::calibration::readCalibrationFile(file).cards.size();
    testsupport::ProgramRun run = testsupport::runProgram(calibrateAndSave("--audio=sim", file));
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_LE(QFileInfo(file).size(), app::calibration::kLargestCalibrationFile);
    const app::calibration::CalibrationFileContents saved = app::calibration::readCalibrationFile(file);
    EXPECT_TRUE(saved.error.isEmpty()) << saved.error.toStdString();
    EXPECT_EQ(saved.cards.size(), before + 1);

    // One card more would pass the limit even compact: refused, the file as it was.
    const QByteArray full = compactProfiles(app::calibration::kLargestCalibrationFile - 40);
    write(file, full);
    ASSERT_TRUE(app::calibration::readCalibrationFile(file).error.isEmpty());
    run = testsupport::runProgram(calibrateAndSave("--audio=sim", file));
    EXPECT_EQ(run.exitCode, 2) << run.err.constData();
    EXPECT_TRUE(run.err.contains("1 MiB")) << run.err.constData();
    EXPECT_EQ(testsupport::readFile(file), full);
}

TEST(ProfileFile, ARefusedFactorIsReportedWithTheNumberAsFound) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("calibration.json"));
    for (const char* factor : {"100.0000001", "0.0099999999"}) {
        write(file, QByteArray("{\"Cards\": {\"sim\": {\"Format\": 2, \"AmmeterGain\": ") + factor +
                        ", \"VoltmeterGain\": 1, \"SourceGain\": 1}}}");
        const QString error = app::calibration::readCalibrationFile(file).error;
        EXPECT_TRUE(error.contains(QStringLiteral("AmmeterGain = %1 lies outside").arg(QLatin1String(factor))))
            << error.toStdString();
    }
    // A factor solved just past the range is shown past it, in the teacher's decimals.
    using measure::CalibrationRefusal;
    EXPECT_TRUE(app::calibration::refusalText(CalibrationRefusal::GainOutOfRange, 100.0000001)
                    .contains(QStringLiteral("by vyšel 100,0000001,")));
    EXPECT_TRUE(app::calibration::refusalText(CalibrationRefusal::GainOutOfRange, 0.00999996)
                    .contains(QStringLiteral("by vyšel 0,00999996,")));
    EXPECT_TRUE(app::calibration::refusalText(CalibrationRefusal::GainOutOfRange, 140.84507)
                    .contains(QStringLiteral("by vyšel 140,8,")));
}

TEST(ProfileFile, TwoProgramsSavingAtOnceBothLand) {
    QTemporaryDir dir;
    constexpr int kPairs = 20;
    int lost = 0;
    for (int pair = 0; pair < kPairs; ++pair) {
        const QString file = dir.filePath(QStringLiteral("calibration-%1.json").arg(pair));
        write(file, profiles(1));
        QProcess sim, bench;
        sim.start(QStringLiteral(PRISTROJE_BINARY), calibrateAndSave("--audio=sim", file));
        bench.start(QStringLiteral(PRISTROJE_BINARY), calibrateAndSave("--audio=bench", file));
        ASSERT_TRUE(sim.waitForFinished(60000) && bench.waitForFinished(60000));
        ASSERT_EQ(sim.exitCode(), 0) << sim.readAllStandardError().constData();
        ASSERT_EQ(bench.exitCode(), 0) << bench.readAllStandardError().constData();
        const app::calibration::CalibrationFileContents saved = app::calibration::readCalibrationFile(file);
        ASSERT_TRUE(saved.error.isEmpty()) << saved.error.toStdString();
        if (saved.cards.size() != 3) ++lost;
        EXPECT_EQ(saved.cards.count(QStringLiteral("sim")), 1u) << "pair " << pair;
        EXPECT_EQ(saved.cards.count(QStringLiteral("bench")), 1u) << "pair " << pair;
    }
    EXPECT_EQ(lost, 0) << "pairs that lost an entry, of " << kPairs;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), kPairs);  // no locks left
}

TEST(ProfileFile, WithoutAHomeASaveIsRefusedAndNothingIsWrittenUnderTheRoot) {
    const QString underRoot = QStringLiteral("/.config/pristroje/calibration.json");
    const bool wasThere = QFileInfo::exists(underRoot);
    testsupport::RunSetup bare;
    bare.unset = {QStringLiteral("HOME"), QStringLiteral("XDG_CONFIG_HOME")};
    const testsupport::ProgramRun run = testsupport::runProgram(
        {"--headless", "--audio=sim", "--do", "calibrate:source=0.02", "--do", "calibration:save"}, bare);
    EXPECT_EQ(run.exitCode, 2) << run.err.constData();
    EXPECT_TRUE(run.err.contains("--calibration")) << run.err.constData();
    if (!wasThere) {
        EXPECT_FALSE(QFileInfo::exists(underRoot));
    }
}

TEST(ProfileFile, AFifoAsTheFileDoesNotHoldUpTheStart) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("calibration.json"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer wall;
    wall.start();
    const testsupport::ProgramRun run =
        testsupport::runProgram({"--headless", "--audio=sim", "--calibration", fifo, "--run-for", "0.2"}, 20000);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Soubor kalibrace %1 nelze použít").arg(fifo).toUtf8()))
        << run.err.constData();
    EXPECT_LT(wall.elapsed(), 20000);
    const testsupport::ProgramRun save = testsupport::runProgram(calibrateAndSave("--audio=sim", fifo), 20000);
    EXPECT_EQ(save.exitCode, 2) << save.err.constData();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

}  // namespace
