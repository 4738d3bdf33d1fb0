#include "app/scripting/headless_runner.h"

#include "app/command_line.h"
#include "app/scripting/action_families.h"
#include "app/scripting/bench_actions.h"
#include "app/scripting/calibration_actions.h"
#include "app/scripting/lab_actions.h"
#include "app/scripting/state_export.h"
#include "app/scripting/stop_signals.h"
#include "app/scripting/window_actions.h"
#include "app/window/form.h"
#include "platform/idle.h"
#include "platform/files/whole_file.h"
#include "platform/virtual_clock.h"
#include "platform/wave/device_status.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QTimer>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace app::scripting {
namespace {

// Writes `bytes` as the file `path` through the file guard, for the output
// `owner` (--state, ...); the reason when that fails.
QString writeWholeFile(const QString& path, const QByteArray& bytes, const QString& owner) {
    return platform::files::writeWholeFile(path, bytes, owner).english();
}

}  // namespace

HeadlessRunner::HeadlessRunner(window::TForm1& form, platform::Idle& idle, platform::VirtualClock* clock,
                               calibration::CalibrationSession* calibration)
    : form_(form), idle_(idle), clock_(clock), calibration_(calibration) {}

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
        while (wall.elapsed() < total && stopSignal() == 0) {
            QEventLoop loop;
            QTimer::singleShot(static_cast<int>(std::min<qint64>(total - wall.elapsed(), 20)), &loop,
                               &QEventLoop::quit);
            loop.exec();
            idle_.runOnce();
        }
        return;
    }
    // From each deadline to the next as the clock's passTime does, ending
    // early when a stop signal comes.
    pump();
    const platform::Nanoseconds end = clock_->now() + static_cast<platform::Nanoseconds>(std::llround(seconds * 1e9));
    while (const auto next = clock_->nextDeadline()) {
        if (*next > end || stopSignal() != 0) break;
        clock_->advanceTo(*next);
        pump();
    }
    if (stopSignal() != 0) return;
    clock_->advanceTo(end);
    pump();
}

QString HeadlessRunner::perform(const QString& action) {
    if (kWindowActions.owns(action))
        return performWindowAction(form_, action, [this] { pump(); }, [this](double s) { runFor(s); });
    if (isCalibrationAction(action)) {
        const QString problem = performCalibrationAction(calibration_, action);
        pump();
        return problem;
    }
    if (kBenchActions.owns(action)) {
        const QString problem = performBenchAction(form_.session(), action);
        pump();
        return problem;
    }
    if (isLabAction(action)) {
        if (lab_ == nullptr) return QStringLiteral("there is no lab in this run");
        const LabActionResult result = performLabAction(*lab_, action, [this](double s) { runFor(s); });
        cannotWrite_ = result.cannotWrite || result.deviceFailed;
        soundStopped_ = soundStopped_ || result.deviceFailed;
        pump();
        if (result.carriedOut) {
            // Told now; the run goes on and ends with 2 after its outputs.
            std::fprintf(stderr, "pristroje: %s\n", result.problem.toLocal8Bit().constData());
            found_ = true;
            return {};
        }
        return result.problem;
    }
    return checkAction(action, actionFamilies());
}

bool HeadlessRunner::writeOutputs(const Options& options) {
    bool ok = true;
    auto complain = [&ok](const QString& what, const QString& why) {
        std::fprintf(stderr, "pristroje: cannot write %s: %s\n", what.toLocal8Bit().constData(),
                     why.toLocal8Bit().constData());
        ok = false;
    };
    auto writePng = [&complain](const QImage& image, const QString& file, const QString& owner) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) return complain(file, QStringLiteral("the picture cannot be encoded"));
        if (const QString why = writeWholeFile(file, png, owner); !why.isEmpty()) complain(file, why);
    };
    if (!options.snapshot.isEmpty()) {
        form_.clientArea()->repaint();
        writePng(form_.clientArea()->grab().toImage(), options.snapshot, QStringLiteral("--snapshot"));
    }
    if (!options.imagesDir.isEmpty()) {
        if (!QDir().mkpath(options.imagesDir)) {
            complain(options.imagesDir, QStringLiteral("the folder cannot be made"));
        } else {
            for (const char* name : {"Image1", "Image2", "Image3", "Image4", "Image5"}) {
                auto* image = static_cast<window::controls::ImageControl*>(form_.control(QString::fromLatin1(name)));
                writePng(image->canvas().image(), QDir(options.imagesDir).filePath(QStringLiteral("%1.png").arg(name)),
                         QStringLiteral("--images"));
            }
        }
    }
    if (!options.stateFile.isEmpty()) {
        const QByteArray json = QJsonDocument(exportState(form_)).toJson(QJsonDocument::Indented);
        if (const QString why = writeWholeFile(options.stateFile, json, QStringLiteral("--state")); !why.isEmpty())
            complain(options.stateFile, why);
    }
    if (options.printReadouts) {
        // Once the sound has stopped the readouts are the last block's, not live ones.
        const QString stale = soundLost() ? QStringLiteral("no live reading (the sound stopped), the last one: ") : QString();
        const QByteArray line = (stale + readoutSummary(form_)).toLocal8Bit() + '\n';
        if (std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout) !=
                static_cast<std::size_t>(line.size()) ||
            std::fflush(stdout) != 0)
            complain(QStringLiteral("the readouts to the standard output"),
                     QString::fromLocal8Bit(std::strerror(errno)));
    }
    return ok;
}

QString HeadlessRunner::soundFailure() const {
    if (!form_.measuring()) return QStringLiteral("the start ended early: nothing was measured");
    // Not the components' ErrorMessage: it also keeps refusals the program
    // itself provokes (a Start while the device is open), which harm nothing.
    if (const std::string error = platform::wave::lastDeviceError(); !error.empty())
        return QStringLiteral("a sound device failed: %1").arg(QString::fromStdString(error));
    // A device that went away and has not come back by the end of the run.
    for (const auto direction : {platform::wave::Direction::Input, platform::wave::Direction::Output})
        if (const auto outage = platform::wave::deviceOutage(direction))
            return QStringLiteral("the sound device '%1' went away and did not come back")
                .arg(QString::fromStdString(outage->device));
    return {};
}

bool HeadlessRunner::soundLost() const {
    return soundStopped_ || platform::wave::deviceOutage(platform::wave::Direction::Input).has_value();
}

bool HeadlessRunner::writesOutput(const QString& action) {
    return action.startsWith(QLatin1String("lab:export=")) || action.startsWith(QLatin1String("lab:plot="));
}

int HeadlessRunner::run(const Options& options) {
    pump();
    // After a failed action the run does no more actions, but still writes
    // every output it can: the lab's files among the remaining actions too.
    int failedWith = 0;
    for (const QString& action : options.actions) {
        if (stopSignal() != 0) break;
        if (failedWith != 0 && !writesOutput(action)) {
            std::fprintf(stderr, "pristroje: not done after the failure: %s\n", action.toLocal8Bit().constData());
            continue;
        }
        cannotWrite_ = false;
        const QString problem = perform(action);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "pristroje: %s\n", problem.toLocal8Bit().constData());
            // A file or a device that failed (1) outweighs a refused action (2).
            if (failedWith != 1) failedWith = cannotWrite_ ? 1 : 2;
        }
    }
    if (failedWith == 0 && stopSignal() == 0) runFor(options.runFor);
    const bool written = writeOutputs(options);
    const QString failure = soundFailure();
    if (!failure.isEmpty()) std::fprintf(stderr, "pristroje: %s\n", failure.toLocal8Bit().constData());
    if (const int signal = stopSignal(); signal != 0) {
        std::fprintf(stderr, "pristroje: stopped by %s\n", stopSignalName(signal));
        return 128 + signal;
    }
    if (!written || !failure.isEmpty() || failedWith == 1) return 1;
    if (failedWith != 0) return failedWith;
    return found_ ? 2 : 0;
}

}  // namespace app::scripting
