#include "app/window/window_scale.h"

#include "app/window/window_definition.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace app::window {
namespace {

// Room for the menu bar, the status line and a window manager's frame, in
// design pixels.
constexpr int kMenuBarHeight = 22;
constexpr int kStatusLineHeight = 22;
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 34;

}  // namespace

double fittingScale(QSize screen, bool fullScreen) {
    const int w = kClientWidth + (fullScreen ? 0 : kFrameWidth);
    const int h = kClientHeight + kMenuBarHeight + kStatusLineHeight + (fullScreen ? 0 : kFrameHeight);
    const double factor = std::min(double(screen.width()) / w, double(screen.height()) / h);
    // Two decimals, rounded down, so that the window surely fits. Full screen,
    // at a factor where the screen's size in window pixels, rounded, makes the
    // screen's size again: at 1.70 a 1080 pixel screen is 635 window pixels,
    // which make 1079 screen pixels (a row of the screen unused), and at 1.22
    // a 768 pixel screen is 630, which make 769 (a row more than the screen,
    // which a Wayland compositor refuses); 1.69 and 1.21 fit exactly. Where
    // no factor does, one that gives no more than the screen.
    int hundredths = std::clamp(static_cast<int>(factor * 100.0), 50, 400);
    if (!fullScreen) return hundredths / 100.0;
    auto makes = [&screen](int h, auto compare) {
        const double f = h / 100.0;
        auto back = [f](int pixels) { return qRound(qRound(pixels / f) * f); };
        return compare(back(screen.width()), screen.width()) && compare(back(screen.height()), screen.height());
    };
    for (int h = hundredths; h >= 50; --h)
        if (makes(h, std::equal_to<int>())) return h / 100.0;
    while (hundredths > 50 && !makes(hundredths, std::less_equal<int>())) --hundredths;
    return hundredths / 100.0;
}

QSize clientRoom(QSize screen, bool fullScreen) {
    const int w = screen.width() - (fullScreen ? 0 : kFrameWidth) - 1;
    const int h = screen.height() - kMenuBarHeight - kStatusLineHeight - (fullScreen ? 0 : kFrameHeight) - 1;
    return {std::max(w, 0), std::max(h, 0)};
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
        factor = fittingScale(area.size(), options.fullScreen);
    } else {
        factor = options.scale.toDouble();
    }
    if (factor == 1.0) return;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'f', 4));
}

}  // namespace app::window
