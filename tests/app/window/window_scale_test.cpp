// The factor --scale auto picks: the whole window, its status line included,
// fits the screen, and full screen the screen's size in window pixels comes
// back as the screen's size (a window one pixel taller than a Wayland
// compositor's full-screen size is a protocol error that ends the program;
// one pixel less leaves a row of the screen unused).
#include "app/window/window_scale.h"
#include "app/window/window_definition.h"

#include <QtGlobal>
#include <gtest/gtest.h>

namespace {

using app::window::fittingScale;
using app::window::kClientHeight;
using app::window::kClientWidth;

TEST(WindowScale, TheWindowAtTheAutomaticFactorFitsEveryCommonScreen) {
    const QSize screens[] = {{1920, 1080}, {1366, 768}, {1024, 768}, {1280, 800}, {1600, 900},
                             {2560, 1440}, {3840, 2160}, {800, 600}};
    for (const QSize& screen : screens) {
        for (const bool fullScreen : {true, false}) {
            const double f = fittingScale(screen, fullScreen);
            const QString where = QStringLiteral("%1x%2 %3").arg(screen.width()).arg(screen.height())
                                      .arg(fullScreen ? QStringLiteral("full screen") : QStringLiteral("window"));
            // The menu bar and the status line are 22 window pixels at most.
            EXPECT_LE(qRound((kClientHeight + 44) * f), screen.height()) << where.toStdString();
            EXPECT_LE(qRound(kClientWidth * f), screen.width()) << where.toStdString();
            if (fullScreen) {
                EXPECT_EQ(qRound(qRound(screen.height() / f) * f), screen.height()) << where.toStdString();
                EXPECT_EQ(qRound(qRound(screen.width() / f) * f), screen.width()) << where.toStdString();
            }
        }
    }
    // As large as that allows: the projector's 1920 x 1080 gets 1.69
    // (1.71 would make 632 window pixels, 1081 screen pixels; 1.70, 1079).
    EXPECT_DOUBLE_EQ(fittingScale({1920, 1080}, true), 1.69);
    EXPECT_DOUBLE_EQ(fittingScale({1366, 768}, true), 1.21);
}

}  // namespace
