// Program entry: parse the command line, choose the sound drivers, create the
// main window and run it (or run it headless).
#include "app/audio_setup.h"
#include "app/calibration_setup.h"
#include "app/command_line.h"
#include "app/device_status_bar.h"
#include "app/form.h"
#include "app/headless_runner.h"
#include "app/program_icon.h"
#include "app/setup_hint.h"
#include "app/window_report.h"
#include "app/window_scale.h"
#include "platform/clock_pacer.h"
#include "platform/idle.h"
#include "render/fonts.h"

#include <QApplication>
#include <cstdio>
#include <optional>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const app::ParseResult parsed = app::parseCommandLine(arguments);
    if (!parsed.options) {
        std::fprintf(parsed.exitCode == 0 ? stdout : stderr, "%s\n", parsed.message.toLocal8Bit().constData());
        return parsed.exitCode;
    }
    const app::Options& options = *parsed.options;
    if (options.headless || options.listDevices) qputenv("QT_QPA_PLATFORM", "offscreen");
    // What changes on screen is small (a pointer's stretch of band, some
    // digits), many times a second. Through shared memory the X11 backing
    // store waits for a reply from the X server before every repaint, which
    // costs two thread wake-ups each time; sending those few pixels over the
    // connection costs less. The user's own setting wins.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");

    app::applyWindowScale(options, argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pristroje"));
    app::setProgramIcon();
    render::registerFontSubstitutions();

    if (options.listDevices) {
        std::printf("%s", app::listDevices().toLocal8Bit().constData());
        return 0;
    }

    app::AudioSetup audio;
    QString error;
    if (!app::setupAudio(options, audio, error)) {
        std::fprintf(stderr, "pristroje: %s\n", error.toLocal8Bit().constData());
        return 2;
    }

    platform::Idle idle;
    auto form = app::createMainWindow(idle);
    app::setupCalibration(*form, options, audio);
    app::showSetupHint(*form, options);
    if (options.headless) {
        form->show();
        app::HeadlessRunner runner(*form, idle, audio.clock);
        return runner.run(options);
    }

    std::optional<platform::ClockPacer> pacer;
    if (audio.clock != nullptr) pacer.emplace(*audio.clock);
    new app::DeviceStatusBar(*form);  // owned by the window
    if (options.fullScreen)
        form->setFullScreen(true);
    else
        form->show();
    app::HeadlessRunner writer(*form, idle, audio.clock);
    new app::WindowReport(*form, writer, options);  // owned by the window
    idle.attachToEventLoop();
    return QApplication::exec();
}
