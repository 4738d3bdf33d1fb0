// The lab window on an X server (PRISTROJE_GUI_DISPLAY), as a teacher drives
// it: Ctrl+M in the main window opens it, the amplitude bar is dragged, a
// short sweep is started and its line fitted with the keyboard; the screen
// then shows the waveforms, the curve with its fitted line, and the table.
// PRISTROJE_GUI_KEEP=1 keeps the screenshots (their folder is printed).
#include "app/window/window_definition.h"
#include "gui/x_display.h"
#include "support/program_run.h"

#include <QElapsedTimer>
#include <QImage>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using gui::xdotool;
using gui::xEnvironment;

void pause(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

QRect geometryOf(const QString& window) {
    static const QRegularExpression re(QStringLiteral("Position: (-?\\d+),(-?\\d+).*Geometry: (\\d+)x(\\d+)"),
                                       QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(xdotool({QStringLiteral("getwindowgeometry"), window}));
    if (!m.hasMatch()) return {};
    return {m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt()};
}

QStringList windowsOf(qint64 pid) {
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), QString::number(pid)})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void key(const QString& window, const QString& keys) {
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60"), keys});
    pause(200);
}

void type(const QString& window, const QString& text) {
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("60"), text});
    pause(200);
}

// Pixels of an image within `tolerance` of a colour.
int pixelsOf(const QImage& image, QRgb colour, int tolerance) {
    int count = 0;
    for (int yy = 0; yy < image.height(); ++yy)
        for (int xx = 0; xx < image.width(); ++xx) {
            const QRgb p = image.pixel(xx, yy);
            if (std::abs(qRed(p) - qRed(colour)) <= tolerance && std::abs(qGreen(p) - qGreen(colour)) <= tolerance &&
                std::abs(qBlue(p) - qBlue(colour)) <= tolerance)
                ++count;
        }
    return count;
}

TEST(LabOnScreen, CtrlMOpensTheLabASweepDrawsItsCurveWithAFittedLineBesideTheWaveformsAndTheTable) {
    if (gui::xDisplay().isEmpty()) GTEST_SKIP() << "no X server for the window tests (PRISTROJE_GUI_DISPLAY)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const bool keep = qEnvironmentVariableIsSet("PRISTROJE_GUI_KEEP");
    dir.setAutoRemove(!keep);
    const QString state = dir.filePath(QStringLiteral("window.json"));
    QProcess program;
    program.setProcessEnvironment(xEnvironment());
    program.start(QStringLiteral(PRISTROJE_BINARY),
                  {QStringLiteral("--audio=bench"), QStringLiteral("--bench-circuit"), QStringLiteral("R=10,L=100m,C=10u"),
                   QStringLiteral("--state"), state});
    ASSERT_TRUE(program.waitForStarted(10000));
    QString main;
    QElapsedTimer t;
    t.start();
    while (main.isEmpty() && t.elapsed() < 15000) {
        for (const QString& w : windowsOf(program.processId()))
            if (geometryOf(w).height() >= app::window::kClientHeight) main = w;
        pause(100);
    }
    ASSERT_FALSE(main.isEmpty()) << program.readAllStandardError().constData();
    pause(300);

    // Ctrl+M: a second window of the program.
    key(main, QStringLiteral("ctrl+m"));
    QString lab;
    for (int i = 0; i < 50 && lab.isEmpty(); ++i, pause(100))
        for (const QString& w : windowsOf(program.processId()))
            if (w != main && geometryOf(w).width() > 800) lab = w;
    ASSERT_FALSE(lab.isEmpty()) << "Ctrl+M opened no lab window";

    // The amplitude bar from its left end to the middle, as in the main window's test.
    const QRect g = geometryOf(main);
    const int clientTop = g.y() + g.height() - app::window::kClientHeight;
    const int clientLeft = g.x() + (g.width() - app::window::kClientWidth) / 2;
    const app::window::ControlDef* bar = app::window::findControlDefinition(QStringLiteral("TrackBar1"));
    const int barY = clientTop + bar->top + bar->height / 2 - 4;
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), main});
    xdotool({QStringLiteral("mousemove"), QString::number(clientLeft + bar->left + 10), QString::number(barY),
       QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("mousemove"),
       QString::number(clientLeft + bar->left + bar->width / 4), QString::number(barY), QStringLiteral("mousemove"),
       QString::number(clientLeft + bar->left + bar->width / 2), QString::number(barY), QStringLiteral("sleep"),
       QStringLiteral("0.2"), QStringLiteral("mouseup"), QStringLiteral("1")});
    pause(500);

    // A sweep of 6 steps from 120 to 200 Hz: Alt+O, Alt+D, Alt+K reach the fields, Alt+R starts it.
    key(lab, QStringLiteral("alt+o"));
    type(lab, QStringLiteral("120"));
    key(lab, QStringLiteral("alt+d"));
    type(lab, QStringLiteral("200"));
    key(lab, QStringLiteral("alt+k"));
    type(lab, QStringLiteral("6"));
    key(lab, QStringLiteral("alt+r"));
    pause(13000);  // about 1.4 s of sound a step, on the wall clock
    key(lab, QStringLiteral("alt+m"));  // "Proložit přímku"
    pause(800);

    gui::xTool(QStringLiteral("import"),
               {QStringLiteral("-window"), QStringLiteral("root"), dir.filePath(QStringLiteral("screen.png"))});
    program.closeWriteChannel();
    ASSERT_TRUE(program.waitForFinished(15000));
    if (keep) std::printf("screenshots in %s\n", dir.path().toLocal8Bit().constData());

    const QJsonObject s = QJsonDocument::fromJson(testsupport::readFile(state)).object();
    const QJsonObject labState = s["lab"].toObject();
    EXPECT_EQ(labState["Points"].toInt(), 6);
    EXPECT_TRUE(labState["Sweep"].toObject()["Finished"].toBool());
    EXPECT_TRUE(labState["Graph"].toObject()["Fit"].toBool());
    EXPECT_FALSE(labState["Fit"].isNull());
    EXPECT_EQ(s["controls"].toObject()["TrackBar2"].toObject()["position"].toInt(), 50);

    // On the screen, in the lab window: the current's trace (amber), the
    // curve (blue) and the fitted line (red).
    const QImage screen = QImage(dir.filePath(QStringLiteral("screen.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(screen.isNull());
    const QImage shown = screen.copy(geometryOf(lab));
    shown.save(dir.filePath(QStringLiteral("lab.png")));
    EXPECT_GT(pixelsOf(shown, qRgb(190, 120, 0), 40), 200) << "no current trace";
    EXPECT_GT(pixelsOf(shown, qRgb(0, 90, 170), 40), 200) << "no curve";
    EXPECT_GT(pixelsOf(shown, qRgb(200, 30, 30), 40), 200) << "no fitted line";
}

}  // namespace
