// The load's own |Z| and phase on the bench, the divider's current taken out
// of the shunt's, with the waveforms' title stating the same phase; and no
// numbers where there is no signal.
#include "support/program_run.h"

#include <QJsonObject>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(LoadValues, ACapacitorAt20HzReadsTheLoadAndTheTitleItsPhase) {
    QTemporaryDir dir;
    testsupport::ProgramRun run;
    const QJsonObject s = testsupport::runForState(
        dir,
        {"--audio=bench", "--bench-circuit", "R=1k,C=1u", "--do", "menu:digitlnvoltmetrstdavhozdroje50Hz1", "--do",
         "track:TrackBar2=20", "--do", "track:TrackBar1=32000", "--run-for", "2"},
        &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    const QJsonObject circuit = s["circuit"].toObject();
    const QJsonObject truth = s["bench"].toObject();
    // 1 kohm and 7958 ohm: 8020 ohm at -82.84 degrees (with the divider across it, 7922 ohm at -78.4).
    EXPECT_NEAR(truth["ImpedanceOhms"].toDouble(), 8020.3, 0.1);
    EXPECT_NEAR(circuit["ImpedanceOhms"].toDouble() / 8020.3, 1, 0.005) << circuit["ImpedanceOhms"].toDouble();
    EXPECT_NEAR(circuit["PhaseDegrees"].toDouble(), -82.84, 0.2);
    EXPECT_NEAR(circuit["PowerMilliwatts"].toDouble() / truth["PowerMilliwatts"].toDouble(), 1, 0.005);
    // The ammeter's current is the shunt's, the divider's share in it.
    EXPECT_GT(circuit["CurrentMilliamps"].toDouble(), 1.005 * circuit["LoadCurrentMilliamps"].toDouble());

    const QJsonObject waveform = s["lab"].toObject()["Waveform"].toObject();
    EXPECT_EQ(waveform["PhaseDegrees"].toDouble(), circuit["PhaseDegrees"].toDouble());
    const QString digits = QLocale(QLocale::Czech).toString(-circuit["PhaseDegrees"].toDouble(), 'f', 1);
    EXPECT_EQ(waveform["Title"].toString(), QStringLiteral("Proud předbíhá napětí o %1°").arg(digits));
}

TEST(LoadValues, NoiseAloneHasNoFrequencyPhaseImpedanceOrPowerFactor) {
    QTemporaryDir dir;
    testsupport::ProgramRun run;
    const QJsonObject s = testsupport::runForState(
        dir, {"--audio=bench", "--bench-noise", "16", "--do", "track:TrackBar1=0", "--run-for", "1.5"}, &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    const QJsonObject circuit = s["circuit"].toObject();
    for (const char* key : {"FrequencyHz", "PhaseDegrees", "ImpedanceOhms", "PowerFactor"})
        EXPECT_TRUE(circuit[key].isNull()) << key;
    EXPECT_GT(circuit["CurrentMilliamps"].toDouble(), 0);  // the noise, read as it is
    EXPECT_EQ(s["lab"].toObject()["Waveform"].toObject()["Title"].toString(), QStringLiteral("Žádný signál"));
}

}  // namespace
