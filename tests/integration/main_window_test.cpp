// What a headless run shows of the main window's own additions: the
// ammeter's unit box as its face reads, and the lab's menu entry.
#include "app/window/window_definition.h"
#include "support/program_run.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::runForState;

QString unitBox(const QJsonObject& state) {
    return state["controls"].toObject()["Panel11"].toObject()["caption"].toString();
}

TEST(MainWindow, TheUnitBoxSaysAmperesOnTheFaceNumberedInThemAndMilliamperesBackDown) {
    // 32 mA through the bench's 100 ohm: the 0..0.3 face.
    const QStringList up{"--audio=bench", "--do", "track:TrackBar1=32000", "--do", "wait:1"};
    QTemporaryDir a, b;
    testsupport::ProgramRun run;
    const QJsonObject high = runForState(a, up, &run);
    ASSERT_FALSE(high.isEmpty()) << run.err.constData();
    EXPECT_EQ(high["state"].toObject()["AmmeterFaceFlags"].toArray()[2].toInt(), 1);
    EXPECT_EQ(unitBox(high), QStringLiteral("A"));
    const QJsonObject low = runForState(b, up + QStringList{"--do", "track:TrackBar1=2000", "--do", "wait:1"}, &run);
    ASSERT_FALSE(low.isEmpty()) << run.err.constData();
    EXPECT_EQ(low["state"].toObject()["AmmeterFaceFlags"].toArray()[0].toInt(), 1);
    EXPECT_EQ(unitBox(low), QStringLiteral("mA"));
}

TEST(MainWindow, TheLabsMenuEntryIsListedAndChosenHeadless) {
    QTemporaryDir dir;
    testsupport::ProgramRun run;
    const QJsonObject s = runForState(
        dir, {"--audio=bench", "--do", QStringLiteral("menu:%1").arg(QLatin1String(app::window::kLabMenuEntry)),
              "--do", "wait:0.5"},
        &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    const QJsonObject entry = s["menu"].toObject()[QLatin1String(app::window::kLabMenuEntry)].toObject();
    EXPECT_EQ(entry["caption"].toString(), QString::fromUtf8("Měření a grafy (Ctrl+M)"));
    EXPECT_TRUE(entry["enabled"].toBool());
    EXPECT_EQ(entry["parent"].toString(), QString());
}

}  // namespace
