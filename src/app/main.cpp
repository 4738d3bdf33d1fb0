// Program entry: parse the command line, choose the sound drivers, create the
// main window and run it (or run it headless).
#include "app/audio_setup.h"
#include "app/calibration/calibration_setup.h"
#include "app/classview/class_view.h"
#include "app/command_line.h"
#include "app/display_check.h"
#include "app/lab/lab.h"
#include "app/lab/lab_session.h"
#include "app/run_files.h"
#include "app/scripting/action_families.h"
#include "app/scripting/headless_runner.h"
#include "app/scripting/stop_signals.h"
#include "app/scripting/window_report.h"
#include "app/status/card_sharing.h"
#include "app/status/device_status_bar.h"
#include "app/status/overload_note.h"
#include "app/status/overload_status.h"
#include "app/status/setup_hint.h"
#include "app/status/status_line.h"
#include "app/session/session.h"
#include "app/toolkit_messages.h"
#include "app/toolkit_translations.h"
#include "app/window/form.h"
#include "app/window/program_icon.h"
#include "app/window/window_definition.h"
#include "app/window/window_scale.h"
#include "platform/clock_pacer.h"
#include "platform/idle.h"
#include "render/fonts.h"

#include <QApplication>
#include <cstdio>
#include <optional>

int main(int argc, char** argv) {
    app::quietToolkitMessages();
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const app::ParseResult parsed = app::parseCommandLine(arguments, app::scripting::actionFamilies());
    if (!parsed.options) {
        std::fprintf(parsed.exitCode == 0 ? stdout : stderr, "%s\n", parsed.message.toLocal8Bit().constData());
        return parsed.exitCode;
    }
    const app::Options& options = *parsed.options;
    // A headless run stopped by a signal still writes its outputs.
    if (options.headless) app::scripting::installStopSignals();
    if (options.headless || options.listDevices) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (const QString missing = app::missingDisplay(arguments); !missing.isEmpty()) {
        std::fprintf(stderr, "pristroje: %s\n", missing.toLocal8Bit().constData());
        return 2;
    }
    // What changes on screen is small (a pointer's stretch of band, some
    // digits), many times a second. Through shared memory the X11 backing
    // store waits for a reply from the X server before every repaint, which
    // costs two thread wake-ups each time; sending those few pixels over the
    // connection costs less. The user's own setting wins.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");

    app::window::applyWindowScale(options, argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pristroje"));
    // The desktop entry's name: Wayland compositors match the window to the
    // menu entry (icon, name) by it.
    QGuiApplication::setDesktopFileName(QStringLiteral("cz.kerbanit.pristroje"));
    app::window::setProgramIcon();
    render::registerFontSubstitutions();
    const QString untranslated = app::installToolkitTranslations(application);
    if (!untranslated.isEmpty()) std::fprintf(stderr, "pristroje: %s\n", untranslated.toLocal8Bit().constData());

    if (options.listDevices) {
        std::printf("%s", app::listDevices().toLocal8Bit().constData());
        return 0;
    }

    QString error = app::checkRunFiles(options, app::calibration::calibrationFile(options));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "pristroje: %s\n", error.toLocal8Bit().constData());
        return 2;
    }
    app::AudioSetup audio;
    if (!app::setupAudio(options, audio, error)) {
        std::fprintf(stderr, "pristroje: %s\n", error.toLocal8Bit().constData());
        return 2;
    }

    // The measurements of this run, and the main window as the first view of them.
    platform::Idle idle;
    app::session::Session session;
    session.setBench(audio.bench.get());
    auto form = app::window::createMainWindow(session, idle);
    auto* statusLine = new app::status::StatusLine(*form);  // owned by the window
    session.addStatePart(QStringLiteral("statusLine"), statusLine, [statusLine] { return statusLine->shown(); });
    // Another instance of the program on the same card is said on the line.
    const app::status::CardSharingStatus sharing(*statusLine, audio.cards);
    auto& calibration = app::calibration::setupCalibration(session, *statusLine, *form, options);
    const auto band = [](app::window::controls::ImageControl* image) {
        return app::status::HintBand{image, QSize(image->canvas().width(), image->canvas().height())};
    };
    app::status::showSetupHint(session, options, *statusLine, band(form->Image1), band(form->Image3));
    new app::status::OverloadStatus(session, *statusLine);  // owned by the line
    new app::status::OverloadNote(session, band(form->Image1), band(form->Image3));  // owned by the image
    auto& lab = app::lab::setupLab(session, *form, options);
    // The window's last menu entry opens the lab, as Ctrl+M does.
    QObject::connect(form->menuEntry(QString::fromLatin1(app::window::kLabMenuEntry)), &QAction::triggered, &lab,
                     &app::lab::Lab::open);
    // The class view: off until the teacher starts it ("Třída" in the lab), or --class-view.
    auto* classView = new app::classview::ClassView(session, lab.session(), *form);  // owned by the window
    lab.setClassViewOpener([classView] { classView->openPanel(); });
    // Serving headless, the bench's time runs as the wall clock's, for the students.
    std::optional<platform::ClockPacer> headlessPacer;
    if (options.headless && options.classView && audio.clock != nullptr) headlessPacer.emplace(*audio.clock);
    app::scripting::HeadlessRunner runner(*form, idle, headlessPacer ? nullptr : audio.clock, &calibration);
    runner.setLab(&lab);
    if (options.classView) {
        if (const QString problem = classView->start(*options.classView); !problem.isEmpty()) {
            std::fprintf(stderr, "pristroje: the class view cannot start: %s\n", problem.toLocal8Bit().constData());
            return 1;
        }
    }
    if (options.headless) {
        form->show();
        return runner.run(options);
    }

    std::optional<platform::ClockPacer> pacer;
    if (audio.clock != nullptr) pacer.emplace(*audio.clock);
    session.watchDevices();
    new app::status::DeviceStatusBar(session, *statusLine);  // owned by the line
    if (options.fullScreen)
        form->setFullScreen(true);
    else
        form->show();
    new app::scripting::WindowReport(*form, runner, options);  // owned by the window
    idle.attachToEventLoop();
    return QApplication::exec();
}
