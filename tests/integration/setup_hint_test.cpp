// First start without a usable sound card: the mixer's message stays, and the
// status line says how to open the virtual bench; with the bench nothing is said.
#include "app/status/setup_hint.h"
#include "support/program_run.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::runForState;

TEST(SetupHint, NoCardNamesTheBenchAfterTheMixerMessageAndTheBenchSaysNothing) {
    QTemporaryDir dir;
    testsupport::ProgramRun run;
    const QJsonObject noCard =
        runForState(dir,
                    {"--audio=alsa", "--mixer-device", "nosuchcard", "--input-device", "nosuchpcm", "--output-device",
                     "nosuchpcm", "--run-for", "0"},
                    &run, 1);  // the devices named do not exist: code 1, the state written all the same
    ASSERT_FALSE(noCard.isEmpty()) << run.err.constData();
    EXPECT_EQ(noCard["errors"].toArray(), QJsonArray{"No mixer device present in this system."});
    const QString hint = noCard["statusLine"].toString();
    EXPECT_EQ(hint, app::status::noSoundCardHint());
    EXPECT_TRUE(hint.contains(QStringLiteral("--audio=bench")));
    EXPECT_TRUE(hint.contains(QString::fromUtf8("Virtuální měřicí pracoviště")));

    for (const char* mode : {"--audio=bench", "--audio=sim"}) {
        QTemporaryDir other;
        const QJsonObject s = runForState(other, {mode, "--run-for", "0"}, &run);
        ASSERT_FALSE(s.isEmpty()) << run.err.constData();
        EXPECT_EQ(s["statusLine"].toString(), QString()) << mode;
    }
}

}  // namespace
