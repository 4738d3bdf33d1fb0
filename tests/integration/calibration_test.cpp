// Calibration end to end, headless on the bench as another card (line input
// half as sensitive, output 1.6 times as strong): calibrated against the
// bench's true values and saved, a new run with another amplitude and load
// reads the truth. Also: a broken profile file, refused actions, and
// --no-calibration.
#include "support/program_run.h"

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::runForState;

class CalibrationRun : public ::testing::Test {
protected:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit()); }
    QString profileFile() const { return config_.filePath(QStringLiteral("pristroje/calibration.json")); }

    // The bench as another card, at 53 Hz (whole periods in a block).
    static QStringList otherCard(const QString& load, int amplitudePosition) {
        return {"--audio=bench", "--bench-input-gain", "0.5", "--bench-output-gain", "1.6", "--bench-load", load,
                "--do", "menu:digitlnvoltmetrstdavhozdroje50Hz1", "--do", "track:TrackBar2=53",
                "--do", QStringLiteral("track:TrackBar1=%1").arg(amplitudePosition)};
    }

    QTemporaryDir config_;
    QTemporaryDir dir_;
};

void expectWithin(double value, double truth, double fraction, const char* what) {
    EXPECT_NEAR(value, truth, truth * fraction) << what;
}

TEST_F(CalibrationRun, CalibratedOnTheBenchAnotherRunReadsTheTruth) {
    testsupport::ProgramRun run;
    // 1. Uncalibrated: off by the card's factors; the true values from the bench.
    const QJsonObject before = runForState(dir_, otherCard("100", 10000) + QStringList{"--run-for", "3"}, &run);
    ASSERT_FALSE(before.isEmpty()) << run.err.constData();
    const QJsonObject truth = before["bench"].toObject();
    EXPECT_EQ(truth["InputGain"].toDouble(), 0.5);
    EXPECT_EQ(truth["OutputGain"].toDouble(), 1.6);
    EXPECT_EQ(truth["LoadOhms"].toDouble(), 100);
    const double amps = truth["CurrentMilliamps"].toDouble();
    const double load = truth["LoadMillivolts"].toDouble();
    const double source = truth["SourceMillivolts"].toDouble();
    expectWithin(source, 7000 * 1.6 * 3.5 / 22, 0.01, "source");
    expectWithin(amps, source / 101, 0.01, "current");
    const QJsonObject s0 = before["state"].toObject();
    expectWithin(s0["AmmeterValue"].toDouble(), amps * 0.5, 0.02, "ammeter, uncalibrated");
    expectWithin(s0["VoltmeterValue"].toDouble(), load * 0.5, 0.02, "voltmeter, uncalibrated");
    EXPECT_EQ(s0["SourceValue"].toDouble(), 1000.0);  // amplitude / 7, the reference scale
    EXPECT_FALSE(before["calibration"].toObject()["Active"].toBool());
    EXPECT_EQ(before["statusLine"].toString(), QString());

    // 2. The same run, told the true values, saves the card's profile.
    const QStringList calibrate{"--do", "wait:3",
                                "--do", QStringLiteral("calibrate:ammeter=%1").arg(amps, 0, 'f', 4),
                                "--do", QStringLiteral("calibrate:voltmeter=%1").arg(load / 1000, 0, 'f', 5),
                                "--do", QStringLiteral("calibrate:source=%1").arg(source / 1000, 0, 'f', 5),
                                "--do", "calibration:save"};
    const QJsonObject calibrated = runForState(dir_, otherCard("100", 10000) + calibrate, &run);
    ASSERT_FALSE(calibrated.isEmpty()) << run.err.constData();
    const QJsonObject c = calibrated["calibration"].toObject();
    EXPECT_TRUE(c["Active"].toBool());
    EXPECT_EQ(c["Key"].toString(), QStringLiteral("bench"));
    EXPECT_EQ(c["File"].toString(), profileFile());
    EXPECT_NEAR(c["AmmeterGain"].toDouble(), 2.0, 0.03);
    EXPECT_NEAR(c["SourceGain"].toDouble(), 1.6, 0.01);
    ASSERT_TRUE(QFile::exists(profileFile()));

    // 3. Another amplitude and another load: the profile applies at start.
    const QJsonObject after = runForState(dir_, otherCard("47", 20000) + QStringList{"--run-for", "3"}, &run);
    ASSERT_FALSE(after.isEmpty()) << run.err.constData();
    const QJsonObject t = after["bench"].toObject();
    const QJsonObject s = after["state"].toObject();
    expectWithin(s["AmmeterValue"].toDouble(), t["CurrentMilliamps"].toDouble(), 0.02, "ammeter");
    expectWithin(s["VoltmeterValue"].toDouble(), t["LoadMillivolts"].toDouble(), 0.02, "voltmeter");
    const double trueSource = t["SourceMillivolts"].toDouble();
    expectWithin(s["SourceValue"].toDouble(), trueSource, 0.02, "source pointer");
    const QString shown = after["controls"].toObject()["Panel6"].toObject()["caption"].toString();
    EXPECT_NEAR(shown.section(' ', 0, 0).toDouble() * 1000, trueSource, 20) << shown.toStdString();
    EXPECT_EQ(after["controls"].toObject()["Panel10"].toObject()["caption"].toString(), shown);
    EXPECT_EQ(after["statusLine"].toString(), QStringLiteral("Kalibrace pro kartu: bench"));

    // --no-calibration: the reference constants, as before calibrating.
    const QJsonObject plain =
        runForState(dir_, otherCard("100", 10000) + QStringList{"--run-for", "3", "--no-calibration"}, &run);
    EXPECT_FALSE(plain["calibration"].toObject()["Active"].toBool());
    EXPECT_EQ(plain["state"].toObject(), before["state"].toObject());
    EXPECT_EQ(plain["controls"].toObject(), before["controls"].toObject());
}

TEST_F(CalibrationRun, ABrokenFileIsReportedAndLeftAsItIs) {
    const QString file = dir_.filePath(QStringLiteral("broken.json"));
    const QByteArray bytes = "{ \"Cards\": { \"sim\": { \"AmmeterGain\": ";
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    testsupport::ProgramRun run;
    const QJsonObject s = runForState(dir_, {"--audio=sim", "--run-for", "0.5", "--calibration", file}, &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    const QJsonArray errors = s["errors"].toArray();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].toString().startsWith(QStringLiteral("Soubor kalibrace ") + file));
    EXPECT_TRUE(run.err.contains(errors[0].toString().toUtf8()));
    EXPECT_FALSE(s["calibration"].toObject()["Active"].toBool());
    EXPECT_EQ(s["calibration"].toObject()["File"].toString(), file);
    EXPECT_EQ(testsupport::readFile(file), bytes);
}

TEST_F(CalibrationRun, RefusedActionsEndTheRunWithTheirReason) {
    struct Case {
        QStringList arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"--do", "calibrate:source=0"}, "Skutečná hodnota musí být větší než nula."},
        {{"--do", "track:TrackBar1=0", "--do", "calibrate:source=1.5"}, "Generátor má nulovou amplitudu"},
        {{"--do", "wait:2.5", "--do", "calibrate:ammeter=10"}, "Přístroj za poslední 2 s nic nenaměřil"},
    };
    for (const Case& c : cases) {
        const testsupport::ProgramRun run =
            testsupport::runProgram(QStringList{"--headless", "--audio=sim"} + c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.constData();
    }
    const testsupport::ProgramRun bad = testsupport::runProgram({"--headless", "--do", "calibrate:lamp=3"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains("bad action")) << bad.err.constData();
    for (const char* option : {"--bench-input-gain", "--bench-output-gain"}) {
        const testsupport::ProgramRun zero = testsupport::runProgram({"--headless", "--audio=bench", option, "0"});
        EXPECT_EQ(zero.exitCode, 2) << option;
        EXPECT_TRUE(zero.err.contains("takes a factor above 0")) << zero.err.constData();
    }
    EXPECT_FALSE(QFile::exists(profileFile()));
}

}  // namespace
