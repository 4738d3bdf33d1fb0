#include "app/window/window_scale.h"

#include "app/window/window_definition.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>

namespace app::window {
namespace {

// Room for the menu bar and for a window manager's frame, in design pixels.
constexpr int kMenuBarHeight = 22;
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 34;

}  // namespace

double fittingScale(int screenWidth, int screenHeight, int menuBarHeight, bool fullScreen) {
    const int w = kClientWidth + (fullScreen ? 0 : kFrameWidth);
    const int h = kClientHeight + menuBarHeight + (fullScreen ? 0 : kFrameHeight);
    const double factor = std::min(double(screenWidth) / w, double(screenHeight) / h);
    // Two decimals, rounded down, so that the window surely fits.
    return std::clamp(static_cast<int>(factor * 100.0) / 100.0, 0.5, 4.0);
}

void applyWindowScale(const Options& options, int& argc, char** argv) {
    if (options.headless || options.listDevices || options.scale.isEmpty()) return;
    double factor = 1.0;
    if (options.scale == QLatin1String("auto")) {
        QGuiApplication probe(argc, argv);
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr) {
            std::fprintf(stderr, "pristroje: no screen to fit the window to, --scale auto left at 1\n");
            return;
        }
        const QRect area = options.fullScreen ? screen->geometry() : screen->availableGeometry();
        factor = fittingScale(area.width(), area.height(), kMenuBarHeight, options.fullScreen);
    } else {
        factor = options.scale.toDouble();
    }
    if (factor == 1.0) return;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'f', 4));
}

}  // namespace app::window
