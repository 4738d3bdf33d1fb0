// The instruments of a calibrated card against the bench's truth: calibrated
// once as the README says (one frequency, one level), they read true across
// the band and the levels, on reactive loads too; a calibration is refused
// while the reading still moves or the card's input clips, and a profile of
// an earlier version is reported and left alone.
#include "support/program_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using testsupport::runForState;

class TrueInstruments : public ::testing::Test {
protected:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit()); }

    // The bench as another card; the frequency bar shown.
    static QStringList card(int hz, int amplitudePosition) {
        return {"--audio=bench", "--bench-input-gain", "0.5", "--bench-output-gain", "1.6",
                "--do", "menu:digitlnvoltmetrstdavhozdroje50Hz1",
                "--do", QStringLiteral("track:TrackBar2=%1").arg(hz),
                "--do", QStringLiteral("track:TrackBar1=%1").arg(amplitudePosition)};
    }
    QString profileFile() const { return config_.filePath(QStringLiteral("pristroje/calibration.json")); }

    QTemporaryDir config_;
    QTemporaryDir dir_;
};

double error(const QJsonObject& o, const char* key, double truth) { return o[key].toDouble() / truth - 1; }

TEST_F(TrueInstruments, CalibratedOnceTheyReadTheTruthAcrossTheBandAndTheLevels) {
    testsupport::ProgramRun run;
    // The README's steps: set the generator, wait until the reading settles, apply the meter's values.
    const QJsonObject truthRun = runForState(dir_, card(53, 32000) + QStringList{"--run-for", "3"}, &run);
    ASSERT_FALSE(truthRun.isEmpty()) << run.err.constData();
    const QJsonObject t = truthRun["bench"].toObject();
    const QStringList calibrate{"--do", "wait:3",
                                "--do", QStringLiteral("calibrate:ammeter=%1").arg(t["CurrentMilliamps"].toDouble(), 0, 'f', 4),
                                "--do", QStringLiteral("calibrate:voltmeter=%1").arg(t["LoadMillivolts"].toDouble() / 1000, 0, 'f', 6),
                                "--do", "calibration:save"};
    const QJsonObject calibrated = runForState(dir_, card(53, 32000) + calibrate, &run);
    ASSERT_FALSE(calibrated.isEmpty()) << run.err.constData();
    EXPECT_NEAR(calibrated["calibration"].toObject()["AmmeterGain"].toDouble(), 2.0, 2.0 * 0.005);
    EXPECT_NEAR(calibrated["calibration"].toObject()["VoltmeterGain"].toDouble(), 2.0, 2.0 * 0.005);

    // The band's edges at full and at a twentieth of the level.
    for (const int hz : {20, 1000}) {
        for (const int position : {32000, 1600}) {
            const QJsonObject s = runForState(dir_, card(hz, position) + QStringList{"--run-for", "2.5"}, &run);
            ASSERT_FALSE(s.isEmpty()) << run.err.constData();
            const QJsonObject truth = s["bench"].toObject();
            const QJsonObject state = s["state"].toObject();
            const QJsonObject circuit = s["circuit"].toObject();
            const QString where = QStringLiteral("%1 Hz, position %2").arg(hz).arg(position);
            EXPECT_LT(std::fabs(error(state, "AmmeterValue", truth["CurrentMilliamps"].toDouble())), 0.005)
                << where.toStdString();
            EXPECT_LT(std::fabs(error(state, "VoltmeterValue", truth["LoadMillivolts"].toDouble())), 0.005)
                << where.toStdString();
            EXPECT_LT(std::fabs(error(circuit, "FrequencyHz", hz)), 0.001) << where.toStdString();
            EXPECT_EQ(circuit["Constants"].toString(), QStringLiteral("profile"));
            EXPECT_FALSE(circuit["CurrentOverload"].toBool());
        }
    }
}

TEST_F(TrueInstruments, ReactiveLoadsGiveTheirPhaseImpedanceAndPower) {
    struct Case {
        const char* circuit;
        int hz;
    };
    // A capacitor, a coil, and a series circuit below and above its resonance (159 Hz).
    for (const Case c : {Case{"R=100,C=10u", 100}, Case{"R=10,L=100m", 50}, Case{"R=10,L=100m,C=10u", 100},
                         Case{"R=10,L=100m,C=10u", 220}}) {
        testsupport::ProgramRun run;
        const QJsonObject s = runForState(
            dir_, QStringList{"--audio=bench", "--bench-circuit", c.circuit, "--do", "menu:digitlnvoltmetrstdavhozdroje50Hz1",
                              "--do", QStringLiteral("track:TrackBar2=%1").arg(c.hz), "--do", "track:TrackBar1=16000",
                              "--run-for", "2"},
            &run);
        ASSERT_FALSE(s.isEmpty()) << run.err.constData();
        const QJsonObject truth = s["bench"].toObject();
        const QJsonObject circuit = s["circuit"].toObject();
        const std::string where = std::string(c.circuit) + " at " + std::to_string(c.hz) + " Hz";
        EXPECT_EQ(circuit["Constants"].toString(), QStringLiteral("reference")) << where;
        EXPECT_NEAR(circuit["PhaseDegrees"].toDouble(), truth["PhaseDegrees"].toDouble(), 1.0) << where;
        EXPECT_LT(std::fabs(error(circuit, "ImpedanceOhms", truth["ImpedanceOhms"].toDouble())), 0.01) << where;
        EXPECT_LT(std::fabs(error(circuit, "PowerMilliwatts", truth["PowerMilliwatts"].toDouble())), 0.01) << where;
        const double cosPhi = std::cos(truth["PhaseDegrees"].toDouble() * M_PI / 180);
        EXPECT_NEAR(circuit["PowerFactor"].toDouble(), cosPhi, 0.01) << where;
    }
    // A description that cannot be read.
    const testsupport::ProgramRun bad = testsupport::runProgram({"--headless", "--audio=bench", "--bench-circuit", "R=10,X=3"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains("--bench-circuit")) << bad.err.constData();
}

TEST_F(TrueInstruments, ACalibrationIsRefusedWhileTheReadingMovesOrTheInputClips) {
    // The player's queued sound plays out first: 2 s after a change the last
    // 2 s still hold the earlier amplitude.
    const testsupport::ProgramRun early = testsupport::runProgram(
        QStringList{"--headless"} + card(53, 32000) + QStringList{"--do", "wait:2", "--do", "calibrate:ammeter=56.5"});
    EXPECT_EQ(early.exitCode, 2);
    EXPECT_TRUE(early.err.contains("Údaj se ještě mění")) << early.err.constData();

    // A low load drives the current channel past full scale: flagged, said, refused.
    const QStringList clipping{"--audio=bench", "--bench-load", "1", "--do", "menu:digitlnvoltmetrstdavhozdroje50Hz1",
                               "--do", "track:TrackBar1=32000", "--do", "wait:3"};
    testsupport::ProgramRun run;
    const QJsonObject s = runForState(dir_, clipping, &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    EXPECT_TRUE(s["circuit"].toObject()["CurrentOverload"].toBool());
    EXPECT_FALSE(s["circuit"].toObject()["VoltageOverload"].toBool());
    const testsupport::ProgramRun refused = testsupport::runProgram(
        QStringList{"--headless"} + clipping + QStringList{"--do", "calibrate:ammeter=1000"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("přebuzený")) << refused.err.constData();
    // With a profile the status line names the instrument.
    const QJsonObject withProfile = runForState(dir_, clipping + QStringList{"--do", "calibrate:voltmeter=0.5"}, &run);
    ASSERT_FALSE(withProfile.isEmpty()) << run.err.constData();
    EXPECT_TRUE(withProfile["statusLine"].toString().contains(QStringLiteral("přebuzený (ampérmetr)")))
        << withProfile["statusLine"].toString().toStdString();
    EXPECT_FALSE(QFile::exists(profileFile()));
}

TEST_F(TrueInstruments, AProfileOfAnEarlierVersionIsReportedAndLeftAsItIs) {
    const QByteArray earlier =
        "{ \"Cards\": { \"bench\": { \"AmmeterGain\": 2, \"VoltmeterGain\": 2, \"SourceGain\": 1.6 } } }";
    QDir().mkpath(QFileInfo(profileFile()).absolutePath());
    {
        QFile f(profileFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(earlier);
    }
    testsupport::ProgramRun run;
    const QJsonObject s = runForState(dir_, card(53, 16000) + QStringList{"--run-for", "1"}, &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    EXPECT_FALSE(s["calibration"].toObject()["Active"].toBool());
    EXPECT_EQ(s["circuit"].toObject()["Constants"].toString(), QStringLiteral("reference"));
    EXPECT_TRUE(s["statusLine"].toString().contains(QStringLiteral("starší verze programu")))
        << s["statusLine"].toString().toStdString();
    EXPECT_EQ(testsupport::readFile(profileFile()), earlier);
}

}  // namespace
