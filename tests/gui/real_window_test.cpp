// The real window on an X server (PRISTROJE_GUI_DISPLAY, started by the test
// script), driven as a user drives it with xdotool: what the screen shows is
// compared with what the program says it shows, and with a headless run of
// the same actions. Every step waits for the program's own sign that its
// window shows the step's result (gui/window_run.h), or for the screen to
// settle, never for a fixed time.
#include "app/window/window_definition.h"
#include "gui/window_run.h"
#include "gui/x_display.h"
#include "support/program_run.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QThread>
#include <cmath>
#include <cstdlib>
#include <set>
#include <gtest/gtest.h>

namespace {

using app::window::kClientHeight;
using app::window::kClientWidth;
using gui::Shown;

using gui::xdotool;
using gui::xEnvironment;

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};

Geometry windowGeometry(const QString& window) {
    const QString out = xdotool({QStringLiteral("getwindowgeometry"), window});
    static const QRegularExpression re(QStringLiteral("Position: (-?\\d+),(-?\\d+).*Geometry: (\\d+)x(\\d+)"),
                                       QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(out);
    if (!m.hasMatch()) return {};
    return {m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt()};
}

// The screen's size.
QSize screenSize() {
    const QStringList wh = xdotool({QStringLiteral("getdisplaygeometry")}).split(QLatin1Char(' '));
    return wh.size() == 2 ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize();
}

// The program's windows that are mapped now, newest last.
QStringList windowsOf(qint64 pid) {
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                    QString::number(pid)})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Polls `condition` until it holds or 30 s have passed.
template <typename Condition>
bool eventually(Condition condition) {
    const QDeadlineTimer deadline(30000);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(50);
    }
    return true;
}

// The screen once it has stopped changing (two screenshots in a row alike).
QImage settledScreen(const QString& file) {
    QImage last;
    for (int i = 0; i < 40; ++i) {
        gui::xTool(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), file});
        QImage now = QImage(file).convertToFormat(QImage::Format_RGB32);
        if (!now.isNull() && now == last) return now;
        last = now;
    }
    return last;
}

// Equal within a screen pixel (the window's pixels, scaled, are rounded).
bool near(const QSize& a, const QSize& b) {
    return std::abs(a.width() - b.width()) <= 1 && std::abs(a.height() - b.height()) <= 1;
}
bool near(const QRect& a, const QRect& b) {
    return near(QSize(a.left(), a.top()), QSize(b.left(), b.top())) &&
           near(QSize(a.right(), a.bottom()), QSize(b.right(), b.bottom()));
}

bool aspectKept(const QRect& r) {
    return std::abs(double(r.width()) / r.height() / (double(kClientWidth) / kClientHeight) - 1.0) < 0.01;
}

QJsonObject readJson(const QString& path) {
    return QJsonDocument::fromJson(testsupport::readFile(path)).object();
}

auto any = [](const Shown&) { return true; };

class RealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (gui::xDisplay().isEmpty()) GTEST_SKIP() << "no X server for the window tests (PRISTROJE_GUI_DISPLAY)";
    }
    void TearDown() override {
        if (HasFailure()) run_.keep();  // the screenshots, to look at
    }

    // Starts the window; its first sign.
    std::optional<Shown> start(const QStringList& arguments) {
        if (!run_.start(QStringList{QStringLiteral("--audio=sim")} + arguments)) return std::nullopt;
        return run_.waitShown(any);
    }
    // The window's X id; without a window manager it gets the keyboard only
    // when given it.
    QString focusedWindow() {
        QString window;
        eventually([&] {
            const QStringList windows = windowsOf(run_.pid());
            window = windows.isEmpty() ? QString() : windows.first();
            return !window.isEmpty();
        });
        if (!window.isEmpty()) xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        return window;
    }

    gui::WindowRun run_{xEnvironment()};
};

TEST_F(RealWindow, MenuChosenWithTheMouseATrackBarDraggedAndF11ShowWhatTheProgramSays) {
    const std::optional<Shown> first = start({});
    ASSERT_TRUE(first) << run_.story();
    EXPECT_EQ(first->stage,
              QRect(QPoint(0, first->window.height() - kClientHeight), QSize(kClientWidth, kClientHeight)));
    const QString window = focusedWindow();
    ASSERT_FALSE(window.isEmpty());
    const Geometry g = windowGeometry(window);
    const int clientTop = g.y + first->stage.y();
    const int clientLeft = g.x + first->stage.x();

    // Alt+V opens the voltmeter menu; the mouse chooses its fourth entry,
    // "digitální střídavý voltmetr 50 Hz".
    const QStringList before = windowsOf(run_.pid());
    xdotool({QStringLiteral("key"), QStringLiteral("alt+v")});
    QString popup;
    ASSERT_TRUE(eventually([&] {
        for (const QString& w : windowsOf(run_.pid()))
            if (!before.contains(w)) popup = w;
        return !popup.isEmpty();
    })) << "Alt+V opened no menu";
    const Geometry m = windowGeometry(popup);
    constexpr int kEntries = 7;  // five entries, "automatická volba stupnic", the manual submenu
    xdotool({QStringLiteral("mousemove"), QString::number(m.x + 40),
             QString::number(m.y + m.height * 7 / (2 * kEntries)), QStringLiteral("sleep"), QStringLiteral("0.3"),
             QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(eventually([&] { return !windowsOf(run_.pid()).contains(popup); })) << "the menu stayed open";

    // Drag the amplitude track bar's handle from its left end to the middle.
    const app::window::ControlDef* bar = app::window::findControlDefinition(QStringLiteral("TrackBar1"));
    const int barY = clientTop + bar->top + bar->height / 2 - 4;
    xdotool({QStringLiteral("mousemove"), QString::number(clientLeft + bar->left + 10), QString::number(barY),
             QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("mousemove"),
             QString::number(clientLeft + bar->left + bar->width / 4), QString::number(barY),
             QStringLiteral("mousemove"), QString::number(clientLeft + bar->left + bar->width / 2),
             QString::number(barY), QStringLiteral("sleep"), QStringLiteral("0.2"), QStringLiteral("mouseup"),
             QStringLiteral("1")});

    // The screen, cut to the client area, once the pointers have come to rest.
    const QImage screen = settledScreen(run_.path("screen.png"));
    ASSERT_FALSE(screen.isNull());

    // F11: full screen, the whole screen; F11 again: the design size back.
    const QSize root = screenSize();
    xdotool({QStringLiteral("key"), QStringLiteral("F11")});
    const std::optional<Shown> full = run_.waitShown([&](const Shown& s) { return s.fullScreen && s.window == root; });
    EXPECT_TRUE(full) << "F11 did not fill the screen; " << run_.story();
    xdotool({QStringLiteral("key"), QStringLiteral("F11")});
    const std::optional<Shown> back = run_.waitShown([](const Shown& s) { return !s.fullScreen; });
    ASSERT_TRUE(back) << "F11 did not leave full screen; " << run_.story();
    EXPECT_EQ(back->window, first->window);
    EXPECT_EQ(back->stage, first->stage);

    ASSERT_EQ(run_.finish(), 0) << run_.story();
    const QJsonObject state = readJson(run_.path("window.json"));
    const QJsonObject controls = state["controls"].toObject();

    // What the program says: the digital voltmeter, the track bar moved.
    EXPECT_TRUE(controls["Panel2"].toObject()["visible"].toBool()) << "the menu click did not choose the entry";
    const int position = controls["TrackBar1"].toObject()["position"].toInt();
    EXPECT_GT(position, 0) << "the drag did not move the track bar";
    const QJsonObject form = controls["Form1"].toObject();
    EXPECT_EQ(form["caption"].toString(), QString::fromUtf8(app::window::kWindowCaption));
    EXPECT_EQ(form["width"].toInt(), g.width);
    EXPECT_EQ(form["height"].toInt(), g.height);

    // The screen shows what the program says it shows.
    const QImage snapshot = QImage(run_.path("window.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(snapshot.size(), QSize(kClientWidth, kClientHeight));
    // The instruments' rows, where no focus mark can differ.
    const QRect rows(0, 0, kClientWidth, 496);
    EXPECT_EQ(gui::pixelsApart(screen.copy(rows.translated(clientLeft, clientTop)), snapshot.copy(rows), 0), 0)
        << "screen and --snapshot differ; see " << run_.path("screen.png").toStdString();
    // The digital voltmeter's black readout, on the screen and in the snapshot.
    const app::window::ControlDef* readout = app::window::findControlDefinition(QStringLiteral("Panel2"));
    const QPoint inside(readout->left + 12, readout->top + 12);
    EXPECT_EQ(snapshot.pixel(inside) & 0xFFFFFFu, 0u);
    EXPECT_EQ(screen.pixel(inside + QPoint(clientLeft, clientTop)) & 0xFFFFFFu, 0u)
        << "the screen does not show the readout the program says it shows";

    // And a headless run with the same actions draws the same instruments.
    QTemporaryDir dir;
    const QJsonObject headless = testsupport::runForState(
        dir, {QStringLiteral("--audio=sim"), QStringLiteral("--do"), QStringLiteral("menu:rukovstdavvoltmetr1"),
              QStringLiteral("--do"), QStringLiteral("track:TrackBar1=%1").arg(position), QStringLiteral("--run-for"),
              QStringLiteral("0.5"), QStringLiteral("--snapshot"), dir.filePath(QStringLiteral("headless.png"))});
    ASSERT_FALSE(headless.isEmpty());
    const QImage headlessSnapshot =
        QImage(dir.filePath(QStringLiteral("headless.png"))).convertToFormat(QImage::Format_RGB32);
    // The drag went through positions that the headless run jumps over: where
    // the source pointer stood on the way, its erase leaves the band a step or
    // two of shade off, as every pointer erase does.
    EXPECT_EQ(gui::pixelsApart(headlessSnapshot.copy(rows), snapshot.copy(rows), 2), 0);
    for (const char* name : {"Panel2", "Panel3", "Panel4", "Panel6", "Panel10", "Panel5", "Edit2", "Edit3"})
        EXPECT_EQ(headless["controls"].toObject()[name], controls[name]) << name;
}

TEST_F(RealWindow, AScaledWindowRendersItsInstrumentsAtTheScreensResolution) {
    const std::optional<Shown> shown = start({QStringLiteral("--scale"), QStringLiteral("1.5")});
    ASSERT_TRUE(shown) << run_.story();
    EXPECT_GE(shown->window.width(), kClientWidth * 3 / 2);
    EXPECT_GE(shown->window.height(), kClientHeight * 3 / 2);
    ASSERT_EQ(run_.finish(), 0) << run_.story();
    const QImage shot = QImage(run_.path("window.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.width(), kClientWidth * 3 / 2);
    EXPECT_EQ(shot.height(), (kClientHeight * 3 + 1) / 2);
    // Not a blown-up bitmap: the numerals' edges are smoothed, so the face band
    // around the ammeter's "0" holds shades between the band's and black.
    std::set<QRgb> shades;
    for (int yy = 20 * 3 / 2; yy < 75 * 3 / 2; ++yy)
        for (int xx = 18 * 3 / 2; xx < 58 * 3 / 2; ++xx) shades.insert(shot.pixel(xx, yy) & 0xFFFFFFu);
    EXPECT_GT(shades.size(), 40u);
}

// Full screen and a resized window alike show the whole design as large as
// it fits, one factor across and down (a circle stays a circle), centred,
// with a calm grey around it; entering full screen says how to leave it, and
// Esc leaves it.
TEST_F(RealWindow, FullScreenAndAResizedWindowKeepTheInstrumentsShapeAndEscLeavesFullScreen) {
    const QSize root = screenSize();
    const std::optional<Shown> full = [&] {
        if (!run_.start({QStringLiteral("--audio=sim"), QStringLiteral("--fullscreen"), QStringLiteral("--scale"),
                         QStringLiteral("auto")}))
            return std::optional<Shown>();
        return run_.waitShown([&](const Shown& s) { return s.fullScreen && s.window == root; });
    }();
    ASSERT_TRUE(full) << run_.story();
    const QImage screen = settledScreen(run_.path("full.png"));
    // The client area lies below the menu bar, down to the screen's bottom.
    const QRect client(0, full->stage.top(), root.width(), root.height() - full->stage.top());
    const QRect instruments = gui::instrumentsIn(screen.copy(client)).translated(client.topLeft());
    EXPECT_TRUE(near(instruments, full->stage)) << "see " << run_.path("full.png").toStdString();
    EXPECT_TRUE(aspectKept(instruments)) << instruments.width() << "x" << instruments.height();
    EXPECT_EQ(instruments.bottom(), root.height() - 1) << "the instruments do not fill the height";
    EXPECT_LE(std::abs(instruments.left() - (root.width() - 1 - instruments.right())), 1) << "not centred";
    if (root.width() >= 1920 && root.height() >= 1080) {
        EXPECT_GE(instruments.width(), 1400);
    }
    // The ammeter's face band, on the row between its numerals and its ticks:
    // yellow (r = g, no blue) across the instruments' width.
    const double k = instruments.width() / double(kClientWidth);
    const int bandRow = instruments.top() + static_cast<int>(80 * k);
    int yellow = 0;
    for (int col = instruments.left(); col <= instruments.right(); ++col) {
        const QRgb p = screen.pixel(col, bandRow);
        if (qRed(p) >= 50 && std::abs(qRed(p) - qGreen(p)) <= 2 && qBlue(p) <= 2) ++yellow;
    }
    EXPECT_GE(yellow, static_cast<int>(780 * k));
    // The note how to leave lies dark over the light rows below the track bar.
    auto dark = [](const QImage& image, const QRect& r) {
        int n = 0;
        for (int yy = r.top(); yy <= r.bottom(); ++yy)
            for (int xx = r.left(); xx <= r.right(); ++xx) n += qGray(image.pixel(xx, yy)) < 80;
        return n;
    };
    const QRect belowTrackBar(instruments.left(), instruments.top() + static_cast<int>(530 * k), instruments.width(),
                              static_cast<int>(50 * k));
    EXPECT_GT(dark(screen, belowTrackBar), belowTrackBar.width() * belowTrackBar.height() / 10)
        << "no note how to leave full screen";

    // Esc leaves full screen; a resized window shows the instruments whole.
    const QString window = focusedWindow();
    ASSERT_FALSE(window.isEmpty());
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(run_.waitShown([](const Shown& s) { return !s.fullScreen; })) << "Esc did not leave full screen; " << run_.story();
    const QSize resized(root.width() * 19 / 20, root.height() * 19 / 20);
    xdotool({QStringLiteral("windowsize"), window, QString::number(resized.width()),
             QString::number(resized.height())});
    const std::optional<Shown> large = run_.waitShown([&](const Shown& s) { return near(s.window, resized); });
    ASSERT_TRUE(large) << "the window did not take the size it was given; " << run_.story();
    ASSERT_EQ(run_.finish(), 0) << run_.story();
    const QImage snapshot = QImage(run_.path("window.png")).convertToFormat(QImage::Format_RGB32);
    const QRect stage = gui::instrumentsIn(snapshot);
    EXPECT_TRUE(near(stage.size(), large->stage.size()));
    EXPECT_TRUE(aspectKept(stage)) << stage.width() << "x" << stage.height();
    EXPECT_EQ(stage.height(), snapshot.height()) << "the instruments do not fill the height";
    EXPECT_LE(std::abs(stage.left() - (snapshot.width() - 1 - stage.right())), 1) << "not centred";
}

}  // namespace
