#include "app/scripting/headless_runner.h"

#include "app/command_line.h"
#include "app/scripting/calibration_actions.h"
#include "app/scripting/lab_actions.h"
#include "app/scripting/state_export.h"
#include "app/window/form.h"
#include "platform/idle.h"
#include "platform/virtual_clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QTimer>
#include <cmath>
#include <cstdio>

namespace app::scripting {

HeadlessRunner::HeadlessRunner(window::TForm1& form, platform::Idle& idle, platform::VirtualClock* clock,
                               calibration::CalibrationSession* calibration, StateSources sources)
    : form_(form), idle_(idle), clock_(clock), calibration_(calibration), sources_(sources) {}

void HeadlessRunner::pump() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents();
    idle_.runOnce();
}

void HeadlessRunner::runFor(double seconds) {
    if (clock_ == nullptr) {
        // Real devices: wall time, with the idle pass after every batch of events.
        QElapsedTimer wall;
        wall.start();
        const auto total = static_cast<qint64>(std::llround(seconds * 1000.0));
        pump();
        while (wall.elapsed() < total) {
            QEventLoop loop;
            QTimer::singleShot(static_cast<int>(std::min<qint64>(total - wall.elapsed(), 20)), &loop,
                               &QEventLoop::quit);
            loop.exec();
            idle_.runOnce();
        }
        return;
    }
    const platform::Nanoseconds end =
        clock_->now() + static_cast<platform::Nanoseconds>(std::llround(seconds * 1e9));
    pump();
    while (auto next = clock_->nextDeadline()) {
        if (*next > end) break;
        clock_->advanceTo(*next);
        pump();
    }
    clock_->advanceTo(end);
    pump();
}

QString HeadlessRunner::perform(const QString& action) {
    const QString kind = action.section(QLatin1Char(':'), 0, 0);
    const QString arg = action.section(QLatin1Char(':'), 1);
    if (kind == QLatin1String("menu")) {
        const QString problem = form_.chooseMenuEntry(arg);
        pump();
        return problem;
    }
    if (kind == QLatin1String("track")) {
        const QString name = arg.section(QLatin1Char('='), 0, 0);
        const int position = arg.section(QLatin1Char('='), 1).toInt();
        window::controls::TrackBar* bar = name == QLatin1String("TrackBar1") ? form_.TrackBar1 : form_.TrackBar2;
        if (bar->isHidden() || !bar->isEnabled())
            return QStringLiteral("%1 is hidden and cannot be moved").arg(name);
        bar->userSetPosition(position);
        pump();
        return {};
    }
    if (kind == QLatin1String("wait")) {
        runFor(arg.toDouble());
        return {};
    }
    if (isCalibrationAction(action)) {
        const QString problem = performCalibrationAction(calibration_, action);
        pump();
        return problem;
    }
    if (isLabAction(action)) {
        if (lab_ == nullptr) return QStringLiteral("there is no lab in this run");
        const LabActionResult result = performLabAction(*lab_, action, [this](double s) { runFor(s); });
        cannotWrite_ = result.cannotWrite;
        pump();
        return result.problem;
    }
    return checkActionSyntax(action);
}

bool HeadlessRunner::writeOutputs(const Options& options) {
    bool ok = true;
    auto complain = [&ok](const QString& what) {
        std::fprintf(stderr, "pristroje: cannot write %s\n", what.toLocal8Bit().constData());
        ok = false;
    };
    if (!options.snapshot.isEmpty()) {
        form_.clientArea()->repaint();
        if (!form_.clientArea()->grab().toImage().save(options.snapshot, "PNG")) complain(options.snapshot);
    }
    if (!options.imagesDir.isEmpty()) {
        QDir().mkpath(options.imagesDir);
        for (const char* name : {"Image1", "Image2", "Image3", "Image4", "Image5"}) {
            auto* image = static_cast<window::controls::ImageControl*>(form_.control(QString::fromLatin1(name)));
            const QString file = QDir(options.imagesDir).filePath(QStringLiteral("%1.png").arg(name));
            if (!image->canvas().image().save(file, "PNG")) complain(file);
        }
    }
    if (!options.stateFile.isEmpty()) {
        QFile file(options.stateFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(QJsonDocument(exportState(form_, sources_)).toJson(QJsonDocument::Indented)) < 0)
            complain(options.stateFile);
    }
    if (options.printReadouts) {
        std::printf("%s\n", readoutSummary(form_).toLocal8Bit().constData());
        std::fflush(stdout);
    }
    return ok;
}

int HeadlessRunner::run(const Options& options) {
    pump();
    for (const QString& action : options.actions) {
        const QString problem = perform(action);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "pristroje: %s\n", problem.toLocal8Bit().constData());
            return cannotWrite_ ? 1 : 2;
        }
    }
    runFor(options.runFor);
    return writeOutputs(options) ? 0 : 1;
}

}  // namespace app::scripting
