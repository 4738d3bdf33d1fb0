// The real window on a Wayland compositor (weston, started by the test
// script; see scripts/wayland_session.sh), native, driven as a user drives it:
// keys and the mouse come through the compositor's seat (xdotool on the X
// server that feeds it), screenshots from the compositor. Full screen with the
// status line showing, the window takes the screen and no more (a compositor
// ends a program whose window is larger than the full-screen size it gave
// it). Every step waits for the program's own sign (gui/window_run.h) or for
// what the screen shows.
#include "app/window/window_definition.h"
#include "gui/window_run.h"
#include "support/program_run.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using app::window::kClientHeight;
using app::window::kClientWidth;
using gui::Shown;

QString runtimeDir() { return qEnvironmentVariable("PRISTROJE_GUI_WAYLAND_RUNTIME"); }
QString waylandDisplay() { return qEnvironmentVariable("PRISTROJE_GUI_WAYLAND_DISPLAY"); }
QString inputDisplay() { return qEnvironmentVariable("PRISTROJE_GUI_WAYLAND_INPUT"); }

QProcessEnvironment waylandEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), waylandDisplay());
    env.remove(QStringLiteral("DISPLAY"));
    // The keyboard library's keymap names, as on X11 (real_window_test.cpp);
    // and the whole stack of an allocation, through the libraries built
    // without frame pointers, so that what Qt's Wayland client keeps for the
    // life of the process is known by its library (tests/support/lsan.supp).
    if (env.contains(QStringLiteral("ASAN_OPTIONS")))
        env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) +
                                                       QStringLiteral(":intercept_strndup=0:fast_unwind_on_malloc=0"));
    return env;
}

// Types or clicks through the compositor's seat.
void input(const QStringList& arguments) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), inputDisplay());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), arguments);
    p.waitForFinished(30000);
}

// The compositor's screen now (weston-screenshooter writes into its working folder).
QImage screenshot(const QString& folder) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QProcess p;
    p.setProcessEnvironment(waylandEnvironment());
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral("weston-screenshooter"), {});
    if (!p.waitForFinished(30000)) return {};
    const QStringList shots = QDir(folder).entryList({QStringLiteral("*.png")});
    if (shots.isEmpty()) return {};
    return QImage(QDir(folder).filePath(shots.first())).convertToFormat(QImage::Format_RGB32);
}

// The screen once `ready` holds and it has stopped changing (two alike in a row).
template <typename Ready>
QImage screenWhen(const QString& folder, Ready ready, int milliseconds = 30000) {
    QImage last;
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QImage now = screenshot(folder);
        if (!now.isNull() && now == last && ready(now)) return now;
        last = now;
    }
    return {};
}

// A point of the design, on the screen (the full-screen window lies at 0, 0).
QPoint onScreen(const Shown& s, double x, double y) {
    const double k = s.stage.width() / double(kClientWidth);
    return {s.stage.x() + static_cast<int>(std::lround(x * k)), s.stage.y() + static_cast<int>(std::lround(y * k))};
}

class WaylandWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (waylandDisplay().isEmpty() || runtimeDir().isEmpty())
            GTEST_SKIP() << "no Wayland compositor for the window tests (PRISTROJE_GUI_WAYLAND_DISPLAY)";
    }
    void TearDown() override {
        if (HasFailure()) run_.keep();
    }
    QString shots() const { return run_.path("shots"); }

    gui::WindowRun run_{waylandEnvironment()};
};

TEST_F(WaylandWindow, FullScreenWithTheStatusLineTakesTheScreenAMenuTheTrackBarAndF11) {
    // A calibration profile: the status line names it.
    QFile profile(run_.path("calibration.json"));
    ASSERT_TRUE(profile.open(QIODevice::WriteOnly));
    profile.write(R"({"Cards": {"sim": {"Format": 2, "AmmeterGain": 1.0, "VoltmeterGain": 1.0, "SourceGain": 1.0}}})");
    profile.close();
    ASSERT_TRUE(run_.start({QStringLiteral("--audio=sim"), QStringLiteral("--calibration"), profile.fileName(),
                            QStringLiteral("--fullscreen"), QStringLiteral("--scale"), QStringLiteral("auto")}));
    const QImage first = screenshot(shots());
    ASSERT_FALSE(first.isNull()) << "no screenshot (weston --debug?)";
    const QSize screen = first.size();
    const std::optional<Shown> full =
        run_.waitShown([&](const Shown& s) { return s.fullScreen && s.window == screen; });
    ASSERT_TRUE(full) << run_.story();
    // The status line lies below the instruments, on the screen.
    EXPECT_LT(full->stage.bottom(), screen.height() - 10);

    // A click where nothing is gives the window the keyboard; Alt+V opens the
    // voltmeter menu, Down and Return choose "digitální střídavý voltmetr
    // 50 Hz" (the first entry that can be chosen is already marked), and
    // the digital voltmeter's black readout appears.
    // The keys are let go once the menu is open: a compositor dismisses a
    // menu that asks for the keyboard after the key that opened it came up.
    // It opens over the top left of the ammeter's band (dark yellow, no
    // blue), in the light grey of menus. The first keys after the
    // compositor's start can be lost on their way through the X server that
    // feeds its seat, before the window has the keyboard: the click and the
    // keys are tried again then.
    const QPoint nowhere = onScreen(*full, 100, 535);
    const QPoint underMenu = onScreen(*full, 30, 20);
    bool menuOpen = false;
    for (int attempt = 0; attempt < 3 && !menuOpen; ++attempt) {
        input({QStringLiteral("mousemove"), QString::number(nowhere.x()), QString::number(nowhere.y()),
               QStringLiteral("click"), QStringLiteral("1")});
        input({QStringLiteral("keydown"), QStringLiteral("alt+v")});
        menuOpen =
            !screenWhen(shots(), [&](const QImage& s) { return qBlue(s.pixel(underMenu)) > 150; }, 8000).isNull();
        input({QStringLiteral("keyup"), QStringLiteral("alt+v")});
    }
    ASSERT_TRUE(menuOpen) << "Alt+V opened no menu";
    input({QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Return")});
    const QPoint readout = onScreen(*full, 212, 185);
    const QImage digital =
        screenWhen(shots(), [&](const QImage& s) { return (s.pixel(readout) & 0xFFFFFFu) == 0; });
    EXPECT_FALSE(digital.isNull()) << "the menu did not choose the digital voltmeter";

    // Drag the amplitude track bar's handle from its left end to the middle.
    const app::window::ControlDef* bar = app::window::findControlDefinition(QStringLiteral("TrackBar1"));
    const double barY = bar->top + bar->height / 2.0 - 4;
    const QPoint from = onScreen(*full, bar->left + 10, barY);
    const QPoint to = onScreen(*full, bar->left + bar->width / 2.0, barY);
    input({QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y()),
           QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("mousemove"),
           QString::number((from.x() + to.x()) / 2), QString::number(from.y()), QStringLiteral("mousemove"),
           QString::number(to.x()), QString::number(to.y()), QStringLiteral("sleep"), QStringLiteral("0.2"),
           QStringLiteral("mouseup"), QStringLiteral("1")});

    // F11 leaves full screen, F11 takes the screen again.
    input({QStringLiteral("key"), QStringLiteral("F11")});
    EXPECT_TRUE(run_.waitShown([](const Shown& s) { return !s.fullScreen; })) << "F11 did not leave full screen; " << run_.story();
    input({QStringLiteral("key"), QStringLiteral("F11")});
    const std::optional<Shown> again =
        run_.waitShown([&](const Shown& s) { return s.fullScreen && s.window == screen; });
    ASSERT_TRUE(again) << "F11 did not take the screen again; " << run_.story();
    EXPECT_EQ(again->stage, full->stage);

    // The screen shows what the program says it shows: the instruments' rows.
    // (At a factor such as 1.21 the edges of lines and letters fall on other
    // screen pixels in the window than in the client area alone: a few of
    // them differ.)
    const QImage shown = screenWhen(shots(), [](const QImage&) { return true; });
    ASSERT_EQ(run_.finish(), 0) << run_.story();
    const QImage snapshot = QImage(run_.path("window.png")).convertToFormat(QImage::Format_RGB32);
    const QRect stage = gui::instrumentsIn(snapshot);
    EXPECT_LE(std::abs(stage.width() - full->stage.width()), 1);
    const QSize rows(std::min(stage.width(), full->stage.width()), 496 * stage.width() / kClientWidth);
    const int apart = gui::pixelsApart(shown.copy(QRect(full->stage.topLeft(), rows)),
                                       snapshot.copy(QRect(stage.topLeft(), rows)), 2);
    EXPECT_GE(apart, 0);
    EXPECT_LT(apart, rows.width() * rows.height() / 50) << "screen and --snapshot differ; see " << shots().toStdString();

    const QJsonObject state = QJsonDocument::fromJson(testsupport::readFile(run_.path("window.json"))).object();
    const QJsonObject controls = state["controls"].toObject();
    EXPECT_TRUE(controls["Panel2"].toObject()["visible"].toBool()) << "the menu did not choose the entry";
    EXPECT_GT(controls["TrackBar1"].toObject()["position"].toInt(), 0) << "the drag did not move the track bar";
    EXPECT_EQ(state["statusLine"].toString(), QStringLiteral("Kalibrace pro kartu: sim"));
}

}  // namespace
