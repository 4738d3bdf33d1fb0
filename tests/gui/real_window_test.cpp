// The real window on an X server (PRISTROJE_GUI_DISPLAY, started by the test
// script), driven as a user drives it with xdotool: what the screen shows is
// compared with what the program says it shows, and with a headless run of
// the same actions.
#include "app/window/window_definition.h"
#include "support/program_run.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <cstdlib>
#include <set>
#include <gtest/gtest.h>

namespace {

QString display() { return qEnvironmentVariable("PRISTROJE_GUI_DISPLAY"); }

QProcessEnvironment xEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // The X keyboard library hands strndup a keymap name that is not
    // terminated within the length it gives; the sanitizer's strndup check
    // reads the whole length and stops the program before it starts.
    if (env.contains(QStringLiteral("ASAN_OPTIONS")))
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":intercept_strndup=0"));
    return env;
}

// Runs an X tool (xdotool, import) on the test display; its output.
QString x(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.setProcessEnvironment(xEnvironment());
    p.start(program, arguments);
    p.waitForFinished(10000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

void pause(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};

Geometry windowGeometry(const QString& window) {
    const QString out = x(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), window});
    static const QRegularExpression re(QStringLiteral("Position: (-?\\d+),(-?\\d+).*Geometry: (\\d+)x(\\d+)"),
                                       QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(out);
    if (!m.hasMatch()) return {};
    return {m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt()};
}

// The program's windows that are mapped now, newest last.
QStringList windowsOf(qint64 pid) {
    return x(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                         QStringLiteral("--pid"), QString::number(pid)})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// How many pixels of two images of one size differ by more than `tolerance`
// in some colour channel (-1: the sizes differ).
int pixelsApart(const QImage& a, const QImage& b, int tolerance) {
    if (a.size() != b.size()) return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance ||
                std::abs(qBlue(p) - qBlue(q)) > tolerance)
                ++count;
        }
    return count;
}

QJsonObject readJson(const QString& path) {
    return QJsonDocument::fromJson(testsupport::readFile(path)).object();
}

class RealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (display().isEmpty()) GTEST_SKIP() << "no X server for the window tests (PRISTROJE_GUI_DISPLAY)";
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override {
        if (HasFailure()) dir_.setAutoRemove(false);  // the screenshots, to look at
        if (program_.state() != QProcess::NotRunning) {
            program_.kill();
            program_.waitForFinished(5000);
        }
    }

    // Starts the window; returns its X window id once it is shown.
    QString start(const QStringList& extra) {
        program_.setProcessEnvironment(xEnvironment());
        program_.start(QStringLiteral(PRISTROJE_BINARY),
                       QStringList{QStringLiteral("--audio=sim"), QStringLiteral("--state"), path("window.json"),
                                   QStringLiteral("--snapshot"), path("window.png")} +
                           extra);
        if (!program_.waitForStarted(10000)) return {};
        // Without a window manager the window gets the keyboard only when given it.
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 15000) {
            for (const QString& w : windowsOf(program_.processId())) {
                if (windowGeometry(w).height >= app::window::kClientHeight) {
                    pause(300);
                    x(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), w});
                    return w;
                }
            }
            pause(100);
        }
        return {};
    }

    // Ends the standard input: the window writes what it shows and closes.
    int finish() {
        program_.closeWriteChannel();
        if (!program_.waitForFinished(15000)) return -1;
        return program_.exitCode();
    }

    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
    QProcess program_;
};

TEST_F(RealWindow, MenuChosenWithTheMouseATrackBarDraggedAndF11ShowWhatTheProgramSays) {
    const QString window = start({});
    ASSERT_FALSE(window.isEmpty()) << program_.readAllStandardError().constData();
    const Geometry g = windowGeometry(window);
    // The client area sits below the menu bar, at the bottom of the window.
    const int clientTop = g.y + g.height - app::window::kClientHeight;
    const int clientLeft = g.x + (g.width - app::window::kClientWidth) / 2;

    // Alt+V opens the voltmeter menu; the mouse chooses its fourth entry,
    // "digitální střídavý voltmetr 50 Hz".
    const QStringList before = windowsOf(program_.processId());
    x(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("alt+v")});
    QString popup;
    for (int i = 0; i < 50 && popup.isEmpty(); ++i, pause(100))
        for (const QString& w : windowsOf(program_.processId()))
            if (!before.contains(w)) popup = w;
    ASSERT_FALSE(popup.isEmpty()) << "Alt+V opened no menu";
    const Geometry m = windowGeometry(popup);
    constexpr int kEntries = 7;  // five entries, "automatická volba stupnic", the manual submenu
    x(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(m.x + 40),
                                  QString::number(m.y + m.height * 7 / (2 * kEntries)), QStringLiteral("sleep"),
                                  QStringLiteral("0.3"), QStringLiteral("click"), QStringLiteral("1")});
    pause(300);

    // Drag the amplitude track bar's handle from its left end to the middle.
    const app::window::ControlDef* bar = app::window::findControlDefinition(QStringLiteral("TrackBar1"));
    const int barY = clientTop + bar->top + bar->height / 2 - 4;
    x(QStringLiteral("xdotool"),
      {QStringLiteral("mousemove"), QString::number(clientLeft + bar->left + 10), QString::number(barY),
       QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("mousemove"),
       QString::number(clientLeft + bar->left + bar->width / 4), QString::number(barY), QStringLiteral("mousemove"),
       QString::number(clientLeft + bar->left + bar->width / 2), QString::number(barY), QStringLiteral("sleep"),
       QStringLiteral("0.2"), QStringLiteral("mouseup"), QStringLiteral("1")});
    pause(500);

    // The screen, cut to the client area.
    x(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path("screen.png")});
    const QImage screen = QImage(path("screen.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(screen.isNull());

    // F11: full screen, the whole screen.
    x(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("F11")});
    pause(800);
    const Geometry full = windowGeometry(window);
    const Geometry root = windowGeometry(x(QStringLiteral("xdotool"), {QStringLiteral("search"),
                                                                       QStringLiteral("--maxdepth"),
                                                                       QStringLiteral("0"), QStringLiteral("")}));
    x(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path("full.png")});
    x(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("F11")});
    pause(800);
    const Geometry back = windowGeometry(window);

    ASSERT_EQ(finish(), 0) << program_.readAllStandardError().constData();
    const QJsonObject state = readJson(path("window.json"));
    const QJsonObject controls = state["controls"].toObject();

    // What the program says: the digital voltmeter, the track bar moved.
    EXPECT_TRUE(controls["Panel2"].toObject()["visible"].toBool()) << "the menu click did not choose the entry";
    const int position = controls["TrackBar1"].toObject()["position"].toInt();
    EXPECT_GT(position, 0) << "the drag did not move the track bar";
    const QJsonObject form = controls["Form1"].toObject();
    EXPECT_EQ(form["caption"].toString(), QString::fromUtf8(app::window::kWindowCaption));
    EXPECT_EQ(form["width"].toInt(), back.width);
    EXPECT_EQ(form["height"].toInt(), back.height);

    // Full screen filled the screen, and F11 again gave the design size back.
    if (root.width > 0) {
        EXPECT_EQ(full.width, root.width);
        EXPECT_EQ(full.height, root.height);
    }
    EXPECT_GT(full.width, g.width);
    EXPECT_EQ(back.width, g.width);
    EXPECT_EQ(back.height, g.height);

    // The screen shows what the program says it shows.
    const QImage snapshot = QImage(path("window.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(snapshot.size(), QSize(app::window::kClientWidth, app::window::kClientHeight));
    // The instruments' rows, where no focus mark can differ.
    const QRect rows(0, 0, app::window::kClientWidth, 496);
    EXPECT_EQ(pixelsApart(screen.copy(rows.translated(clientLeft, clientTop)), snapshot.copy(rows), 0), 0)
        << "screen and --snapshot differ; see " << path("screen.png").toStdString();
    // The digital voltmeter's black readout, on the screen and in the snapshot.
    const app::window::ControlDef* readout = app::window::findControlDefinition(QStringLiteral("Panel2"));
    const QPoint inside(readout->left + 12, readout->top + 12);
    EXPECT_EQ(snapshot.pixel(inside) & 0xFFFFFFu, 0u);
    EXPECT_EQ(screen.pixel(inside + QPoint(clientLeft, clientTop)) & 0xFFFFFFu, 0u)
        << "the screen does not show the readout the program says it shows";

    // And a headless run with the same actions draws the same instruments.
    const QJsonObject headless = testsupport::runForState(
        dir_, {QStringLiteral("--audio=sim"), QStringLiteral("--do"), QStringLiteral("menu:rukovstdavvoltmetr1"),
               QStringLiteral("--do"), QStringLiteral("track:TrackBar1=%1").arg(position), QStringLiteral("--run-for"),
               QStringLiteral("0.5"), QStringLiteral("--snapshot"), path("headless.png")});
    ASSERT_FALSE(headless.isEmpty());
    const QImage headlessSnapshot = QImage(path("headless.png")).convertToFormat(QImage::Format_RGB32);
    // The drag went through positions that the headless run jumps over: where
    // the source pointer stood on the way, its erase leaves the band a step or
    // two of shade off, as every pointer erase does.
    EXPECT_EQ(pixelsApart(headlessSnapshot.copy(rows), snapshot.copy(rows), 2), 0);
    for (const char* name : {"Panel2", "Panel3", "Panel4", "Panel6", "Panel10", "Panel5", "Edit2", "Edit3"})
        EXPECT_EQ(headless["controls"].toObject()[name], controls[name]) << name;
}

TEST_F(RealWindow, AScaledWindowRendersItsInstrumentsAtTheScreensResolution) {
    const QString window = start({QStringLiteral("--scale"), QStringLiteral("1.5")});
    ASSERT_FALSE(window.isEmpty()) << program_.readAllStandardError().constData();
    const Geometry g = windowGeometry(window);
    EXPECT_GE(g.width, app::window::kClientWidth * 3 / 2);
    EXPECT_GE(g.height, app::window::kClientHeight * 3 / 2);
    ASSERT_EQ(finish(), 0) << program_.readAllStandardError().constData();
    const QImage shown = QImage(path("window.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.width(), app::window::kClientWidth * 3 / 2);
    EXPECT_EQ(shown.height(), (app::window::kClientHeight * 3 + 1) / 2);
    // Not a blown-up bitmap: the numerals' edges are smoothed, so the face band
    // around the ammeter's "0" holds shades between the band's and black.
    std::set<QRgb> shades;
    for (int yy = 20 * 3 / 2; yy < 75 * 3 / 2; ++yy)
        for (int xx = 18 * 3 / 2; xx < 58 * 3 / 2; ++xx) shades.insert(shown.pixel(xx, yy) & 0xFFFFFFu);
    EXPECT_GT(shades.size(), 40u);
}

TEST_F(RealWindow, FullScreenAutoOnAProjectorSpreadsTheAmmeterOverTheScreen) {
    const QString window = start({QStringLiteral("--fullscreen"), QStringLiteral("--scale"), QStringLiteral("auto")});
    ASSERT_FALSE(window.isEmpty()) << program_.readAllStandardError().constData();
    const Geometry root = windowGeometry(x(QStringLiteral("xdotool"), {QStringLiteral("search"),
                                                                       QStringLiteral("--maxdepth"),
                                                                       QStringLiteral("0"), QStringLiteral("")}));
    const Geometry g = windowGeometry(window);
    ASSERT_EQ(finish(), 0) << program_.readAllStandardError().constData();
    EXPECT_EQ(g.width, root.width);
    EXPECT_EQ(g.height, root.height);
    const QImage shown = QImage(path("window.png")).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.width(), root.width);
    // The ammeter's face band, on the row between its numerals and its ticks:
    // yellow (r = g, no blue) from one end to the other.
    const int y = shown.height() * 80 / app::window::kClientHeight;
    int first = -1, last = -1;
    for (int col = 0; col < shown.width(); ++col) {
        const QRgb p = shown.pixel(col, y);
        if (qRed(p) >= 50 && std::abs(qRed(p) - qGreen(p)) <= 2 && qBlue(p) <= 2) {
            if (first < 0) first = col;
            last = col;
        }
    }
    ASSERT_GE(first, 0);
    if (root.width >= 1920 && root.height >= 1080) {
        EXPECT_GE(last - first + 1, 1700);
    }
    EXPECT_GE(last - first + 1, shown.width() * 9 / 10);
}

}  // namespace
