// First start without a usable sound card: the mixer's message stays, and the
// status line and the empty bands of the ammeter and the voltmeter say how to
// open the virtual bench; with the bench nothing is said.
#include "app/status/setup_hint.h"
#include "support/program_run.h"

#include <QImage>
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
                     "nosuchpcm", "--run-for", "0", "--snapshot", dir.filePath("nocard.png"), "--images", dir.path()},
                    &run, 1);  // the devices named do not exist: code 1, the state written all the same
    ASSERT_FALSE(noCard.isEmpty()) << run.err.constData();
    EXPECT_EQ(noCard["errors"].toArray(), QJsonArray{"No mixer device present in this system."});
    const QString hint = noCard["statusLine"].toString();
    EXPECT_EQ(hint, app::status::noSoundCardHint());
    EXPECT_TRUE(hint.contains(QStringLiteral("--audio=bench")));
    EXPECT_TRUE(hint.contains(QString::fromUtf8("Virtuální měřicí pracoviště")));

    // The bands, where the faces would be: dark letters below the unit boxes,
    // on the window (the instruments' own bitmaps stay as they are).
    const QImage shown(dir.filePath("nocard.png"));
    const QImage ammeter(dir.filePath("Image1.png"));
    ASSERT_FALSE(shown.isNull());
    auto letters = [](const QImage& image, int top, int left) {
        int n = 0;
        for (int y = top + 80; y < top + 128; ++y)
            for (int x = left + 10; x < left + 790; ++x) n += qGray(image.pixel(x, y)) < 40;
        return n;
    };
    EXPECT_GT(letters(shown, 0, 0), 1000) << "the ammeter's band says nothing";
    EXPECT_GT(letters(shown, 164, 0), 1000) << "the voltmeter's band says nothing";
    EXPECT_EQ(letters(ammeter, 0, 4), 0);

    for (const char* mode : {"--audio=bench", "--audio=sim"}) {
        QTemporaryDir other;
        const QJsonObject s = runForState(other, {mode, "--run-for", "0"}, &run);
        ASSERT_FALSE(s.isEmpty()) << run.err.constData();
        EXPECT_EQ(s["statusLine"].toString(), QString()) << mode;
    }
}

}  // namespace
