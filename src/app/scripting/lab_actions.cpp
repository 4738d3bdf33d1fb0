#include "app/scripting/lab_actions.h"

#include "app/lab/lab.h"
#include "app/lab/lab_session.h"
#include "app/lab/graph_view.h"
#include "app/lab/lab_window.h"
#include "app/scripting/device_watch.h"
#include "app/scripting/stop_signals.h"
#include "lab/csv_writer.h"
#include "lab/fit/fit_model.h"
#include "lab/graph_choice.h"
#include "lab/record/flagged_points.h"
#include "lab/sweep_plan.h"
#include "platform/files/whole_file.h"

#include <QRegularExpression>

namespace app::scripting {
namespace {

// A step of virtual time while the run waits for the lab.
constexpr double kWaitStep = 0.05;

// Lets time pass while `waiting` holds. An empty result when the wait ran to
// its end, else how it ended early (its device, or a stop signal).
LabActionResult waitWhile(lab::LabSession& session, const std::function<bool()>& waiting,
                          const std::function<void(double)>& runFor) {
    DeviceWatch watch(session.session());
    while (waiting()) {
        LabActionResult early;
        if (stopSignal() != 0) {
            early.stopped = true;
            return early;
        }
        runFor(kWaitStep);
        early.problem = watch.check(kWaitStep);
        if (!early.problem.isEmpty()) {
            early.deviceFailed = true;
            return early;
        }
    }
    return {};
}

}  // namespace

bool isLabAction(const QString& action) { return action.startsWith(QLatin1String("lab:")); }

QString checkLabActionSyntax(const QString& action) {
    static const QRegularExpression simple(QStringLiteral(
        "^lab:(record=(start|stop)|point|clear|fit(=(line|proportional|resonance|impedance|phase))?|waveforms=(freeze|run)|dialect=(semicolon|comma)|"
        "interval=\\d+(\\.\\d+)?|sweep=\\d+\\.\\.\\d+/\\d+/(log|lin)|delete=[1-9]\\d*|undo|redo|run=new|"
        "run=name:.+)$"));
    static const QRegularExpression files(QStringLiteral("^lab:(export=.+\\.csv|plot=.+\\.(png|svg)|report=.+\\.pdf)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (simple.match(action).hasMatch() || files.match(action).hasMatch()) return {};
    if (action.startsWith(QLatin1String("lab:graph=")) && ::lab::parseGraphChoice(action.mid(10))) return {};
    return QStringLiteral("bad action \"%1\": expected lab:record=start|stop, lab:interval=<seconds>, lab:point, "
                          "lab:clear, lab:delete=<row>, lab:undo, lab:redo, lab:run=new, lab:run=name:<text>, lab:sweep=<from>..<to>/<steps>/log|lin, lab:graph=<Y>:<X>[:logx|logy|loglog] "
                          "(quantities: %2), lab:fit[=line|proportional|resonance|impedance|phase], lab:waveforms=freeze|run, lab:dialect=semicolon|comma, "
                          "lab:export=<file>.csv, lab:plot=<file>.png|svg or lab:report=<file>.pdf")
        .arg(action, ::lab::quantityKeys());
}

const ActionFamily kLabActions{
    "lab:<action>",
    "  lab:record=start|stop          record a point at every block, or every lab:interval=<seconds>\n"
    "  lab:point                      one point from a settled reading (the run waits for it)\n"
    "  lab:clear                      forget the recorded points (lab:undo brings them back)\n"
    "  lab:delete=<row>               delete the point of that row of the table, from 1\n"
    "  lab:undo, lab:redo             undo or redo the last deletion (lab:delete, lab:clear)\n"
    "  lab:run=new                    the points that follow are a new run (\"Běh 2\", ...)\n"
    "  lab:run=name:<text>            name the current run (--state lab.Runs)\n"
    "  lab:sweep=<from>..<to>/<steps>/log|lin\n"
    "                                 a frequency sweep with TrackBar2, a run of its own (the run waits\n"
    "                                 for its end; steps that clip or do not settle are recorded, flagged,\n"
    "                                 and end the run with code 2 once everything asked for is written)\n"
    "  lab:graph=<Y>:<X>[:logx|logy|loglog]\n"
    "                                 the lab's graph, e.g. lab:graph=ImpedanceOhms:FrequencyHz; quantities:\n"
    "                                 TimeSeconds FrequencyHz CurrentMilliamps VoltageMillivolts\n"
    "                                 ImpedanceOhms PhaseDegrees PowerMilliwatts PowerFactor\n"
    "  lab:fit[=<curve>]              fit a curve to each run of the graph (--state lab.Fit, lab.Fits,\n"
    "                                 lab.Peak): line (the default), proportional (y = a x), resonance\n"
    "                                 (the current of a series R, L, C: f0, Q, bandwidth, I0), impedance\n"
    "                                 (|Z| of it: R, L, C, f0), phase (its phase: f0, Q)\n"
    "  lab:waveforms=freeze|run       hold the waveforms still, or let them run\n"
    "  lab:dialect=semicolon|comma    CSV: semicolon and decimal comma, or comma and decimal point\n"
    "                                 (default: the locale's)\n"
    "  lab:export=<file>.csv          the table of points (UTF-8, a header with units)\n"
    "  lab:plot=<file>.png|<file>.svg the lab's graph as shown\n"
    "  lab:report=<file>.pdf          the laboratory protocol: the circuit, the graph, the fits, the table\n",
    isLabAction,
    checkLabActionSyntax,
};

LabActionResult performLabAction(lab::Lab& lab, const QString& action, const std::function<void(double)>& runFor) {
    if (const QString bad = checkLabActionSyntax(action); !bad.isEmpty()) return {bad};
    lab::LabSession& session = lab.session();
    const QString body = action.mid(4);
    const QString name = body.section(QLatin1Char('='), 0, 0);
    const QString value = body.section(QLatin1Char('='), 1);
    if (name == QLatin1String("record")) {
        if (value == QLatin1String("start"))
            session.startRecording();
        else
            session.stopRecording();
    } else if (name == QLatin1String("interval")) {
        const double seconds = value.toDouble();
        if (seconds != 0 && (seconds < lab::LabSession::kShortestInterval || seconds > lab::LabSession::kLongestInterval))
            return {QStringLiteral("lab:interval takes 0 (every block) or 0.1 to 60 seconds")};
        session.setInterval(seconds);
    } else if (name == QLatin1String("point")) {
        // Judged by the point's own outcome: a record going on meanwhile adds
        // points of its own.
        bool overload = false;
        bool taken = false;
        const auto refused = QObject::connect(&session, &lab::LabSession::pointRefused, &session,
                                              [&overload](bool o) { overload = o; });
        const auto took = QObject::connect(&session, &lab::LabSession::pointTaken, &session, [&taken] { taken = true; });
        session.requestPoint();
        LabActionResult early = waitWhile(session, [&session] { return session.pointPending(); }, runFor);
        QObject::disconnect(refused);
        QObject::disconnect(took);
        if (early.stopped || early.deviceFailed) {
            session.cancelPoint();
            if (early.deviceFailed) early.problem = QStringLiteral("lab:point: %1").arg(early.problem);
            return early;
        }
        if (!taken)
            return {overload ? QStringLiteral("lab:point: the card's input is overloaded")
                             : QStringLiteral("lab:point: the reading did not settle within %1 s")
                                   .arg(lab::LabSession::kPointPatience)};
    } else if (name == QLatin1String("clear")) {
        session.clear();
    } else if (name == QLatin1String("delete")) {
        const qlonglong row = value.toLongLong();
        if (row < 1 || static_cast<std::size_t>(row) > session.record().size())
            return {QStringLiteral("lab:delete: there is no row %1 (the table has %2)").arg(value).arg(session.record().size())};
        session.deleteRows({static_cast<std::size_t>(row - 1)});
    } else if (name == QLatin1String("undo")) {
        if (!session.undo()) return {QStringLiteral("lab:undo: there is no deletion to undo")};
    } else if (name == QLatin1String("redo")) {
        if (!session.redo()) return {QStringLiteral("lab:redo: there is no deletion to redo")};
    } else if (name == QLatin1String("run")) {
        if (value == QLatin1String("new"))
            session.newRun();
        else
            session.nameRun(value.mid(5));
    } else if (name == QLatin1String("sweep")) {
        const auto plan = ::lab::parseSweepPlan(value);
        const QString problem = plan ? session.startSweep(*plan) : QStringLiteral("bad sweep");
        if (!problem.isEmpty()) return {QStringLiteral("lab:sweep: %1").arg(problem)};
        LabActionResult early = waitWhile(session, [&session] { return session.sweep().running; }, runFor);
        if (early.stopped || early.deviceFailed) {
            session.cancelSweep();
            if (early.deviceFailed)
                early.problem = QStringLiteral("lab:sweep: stopped at step %1 of %2: %3")
                                    .arg(session.sweep().step)
                                    .arg(session.sweep().steps)
                                    .arg(early.problem);
            return early;
        }
        const lab::LabSession::SweepProgress& sweep = session.sweep();
        if (sweep.flagged > 0) {
            const ::lab::PointRecord& record = session.record();
            LabActionResult found;
            found.problem = QStringLiteral("lab:sweep: %1 (drawn apart and left out of fits)")
                                .arg(::lab::flaggedSummary(record, ::lab::flaggedPoints(record, sweep.run),
                                                           static_cast<std::size_t>(sweep.step)));
            found.carriedOut = true;
            return found;
        }
    } else if (name == QLatin1String("graph")) {
        session.setGraph(*::lab::parseGraphChoice(value, session.graph()));
    } else if (name == QLatin1String("fit")) {
        session.setFitModel(value.isEmpty() ? ::lab::fit::Model::Line : *::lab::fit::modelByKey(value));
    } else if (name == QLatin1String("waveforms")) {
        session.freezeWaveforms(value == QLatin1String("freeze"));
    } else if (name == QLatin1String("dialect")) {
        lab.csvDialect = value == QLatin1String("semicolon") ? ::lab::kSemicolonDecimalComma : ::lab::kCommaDecimalPoint;
    } else if (name == QLatin1String("export") || name == QLatin1String("plot") || name == QLatin1String("report")) {
        const platform::files::WriteOutcome written =
            name == QLatin1String("export")  ? platform::files::writeWholeFile(value, ::lab::csvOf(session.record(), lab.csvDialect))
            : name == QLatin1String("plot") ? lab.window().graph().save(value)
                                             : lab.writeProtocol(value);
        // Over one of the run's own files it is a refused action (2); any
        // other file that cannot be written is a failed output (1).
        if (!written.ok())
            return {QStringLiteral("cannot write %1: %2").arg(value, written.english()),
                    written.fault != platform::files::WriteFault::Guarded};
        if (name == QLatin1String("export")) session.markExported();
    }
    return {};
}

}  // namespace app::scripting
