// The lab session as --state "lab".
#include "app/lab/lab_session.h"
#include "lab/fit/fit_state.h"
#include "lab/phase_words.h"
#include "lab/record/flagged_points.h"

#include <QJsonArray>

#include <QJsonValue>
#include <algorithm>
#include <cmath>

namespace app::lab {
namespace {

// JSON has no NaN or infinity: an unknown value is null.
QJsonValue number(double v) { return std::isfinite(v) ? QJsonValue(v) : QJsonValue(); }

QJsonObject pointJson(const ::lab::PointRecord& record, std::size_t row) {
    const ::lab::LabPoint p = record.point(row);
    QJsonObject o;
    for (const ::lab::Quantity q : ::lab::kQuantities) o[::lab::keyOf(q)] = number(p[q]);
    o["Overload"] = p.overload;
    o["Settled"] = p.settled;
    const ::lab::Run* run = record.run(record.runOf(row));
    o["Run"] = run != nullptr ? ::lab::runTitle(*run) : QString();
    return o;
}

QJsonArray rowsJson(const std::vector<std::size_t>& rows) {
    QJsonArray a;
    for (const std::size_t row : rows) a.append(static_cast<qint64>(row + 1));
    return a;
}

QJsonObject flaggedJson(const ::lab::PointRecord& record) {
    const ::lab::FlaggedPoints f = ::lab::flaggedPoints(record);
    QJsonArray hertz;
    std::vector<std::size_t> all = f.overload;
    all.insert(all.end(), f.unsettled.begin(), f.unsettled.end());
    std::sort(all.begin(), all.end());
    for (const std::size_t row : all) hertz.append(number(record.value(row, ::lab::Quantity::Frequency)));
    return {{"Count", static_cast<qint64>(f.count())},
            {"Overload", rowsJson(f.overload)},
            {"Unsettled", rowsJson(f.unsettled)},
            {"Rows", rowsJson(all)},
            {"FrequenciesHz", hertz}};
}

QJsonArray runsJson(const ::lab::PointRecord& record) {
    QJsonArray a;
    const ::lab::Run* current = record.currentRun();
    for (const ::lab::Run& r : record.runs())
        a.append(QJsonObject{{"Id", r.id},
                             {"Name", ::lab::runTitle(r)},
                             {"Points", static_cast<qint64>(r.points)},
                             {"Hidden", r.hidden},
                             {"Current", current != nullptr && current->id == r.id}});
    return a;
}

}  // namespace

// The line as it always was (Slope, Intercept, R2, Points, SlopeUnit) with
// its uncertainties; another curve as fit_state.h gives it, of the newest run.
QJsonValue LabSession::fitJson() const {
    if (fitModel_ != ::lab::fit::Model::Line) {
        const ::lab::fit::Fit* f = newestFit();
        if (f == nullptr) return QJsonValue();
        QJsonObject o = ::lab::fit::fitState(*f);
        if (fitModel_ == ::lab::fit::Model::Proportional) o["SlopeUnit"] = ::lab::ratioUnit(graph_.y, graph_.x);
        return o;
    }
    const auto f = fit();
    if (!f) return QJsonValue();
    QJsonObject o{{"Model", ::lab::fit::modelKey(fitModel_)},
                  {"Slope", f->slope},
                  {"Intercept", f->intercept},
                  {"R2", f->r2},
                  {"Points", static_cast<qint64>(f->points)},
                  {"SlopeUnit", ::lab::ratioUnit(graph_.y, graph_.x)}};
    const GraphPoints points = graphPoints(0);
    if (const ::lab::fit::FitResult all = ::lab::fit::fitPoints(::lab::fit::Model::Line, points.points())) {
        for (const char* name : {"Slope", "Intercept"})
            if (const ::lab::fit::Parameter* p = all.fit->parameter(QLatin1String(name)))
                o[QLatin1String(name) + QStringLiteral("Uncertainty")] = p->uncertainty;
        o["RMS"] = all.fit->rms;
    }
    return o;
}

QJsonObject LabSession::stateJson() const {
    const SweepProgress& s = sweep_;
    QJsonObject out{
        {"Points", static_cast<qint64>(record_.size())},
        {"Last", record_.empty() ? QJsonValue() : QJsonValue(pointJson(record_, record_.size() - 1))},
        {"Flagged", flaggedJson(record_)},
        {"Runs", runsJson(record_)},
        {"CanUndo", canUndo()},
        {"CanRedo", canRedo()},
        {"Recording", recording_},
        {"Interval", interval_},
        {"PointPending", pending_.has_value()},
        {"Sweep", QJsonObject{{"Running", s.running},
                              {"Finished", s.finished},
                              {"Cancelled", s.cancelled},
                              {"Step", s.step},
                              {"Steps", s.steps},
                              {"Unsettled", s.unsettled},
                              {"Flagged", s.flagged},
                              {"SoundSeconds", s.soundSeconds},
                              {"FromHz", s.plan.fromHz},
                              {"ToHz", s.plan.toHz},
                              {"Logarithmic", s.plan.logarithmic}}},
        {"Graph", QJsonObject{{"Y", ::lab::keyOf(graph_.y)},
                              {"X", ::lab::keyOf(graph_.x)},
                              {"LogX", graph_.logX},
                              {"LogY", graph_.logY},
                              {"Fit", graph_.fit},
                              {"Peaks", graph_.peaks},
                              {"Origin", graph_.origin},
                              {"OffLogAxis", static_cast<qint64>(offLogAxis())}}},
    };
    out["Fit"] = fitJson();
    if (graph_.fit) {
        QJsonArray fits;
        for (const RunFit& f : runFits()) {
            const ::lab::Run* run = record_.run(f.run);
            QJsonObject o = f.result ? ::lab::fit::fitState(*f.result.fit) : QJsonObject{{"Problem", f.result.failure}};
            o["Run"] = run != nullptr ? ::lab::runTitle(*run) : QString();
            fits.append(o);
        }
        out["Fits"] = fits;
    }
    if (const QString problem = fitProblem(); !problem.isEmpty()) out["FitProblem"] = problem;
    if (const auto p = peaks()) {
        out["Peak"] = ::lab::fit::extremeState(p->maximum);
        out["Minimum"] = ::lab::fit::extremeState(p->minimum);
    }
    const ::lab::Traces t = traces();
    // The title's phase: the meter's, of the load (as the live values show it).
    const WaveformSource w = waveformSource();
    const measure::CircuitValues v = measure::circuitValues(w.reading, w.scale.milliamps, w.scale.millivolts);
    out["Waveform"] = QJsonObject{{"PhaseDegrees", v.phaseDegrees ? QJsonValue(*v.phaseDegrees) : QJsonValue()},
                                  {"Title", ::lab::phaseWords(w.reading, v)},
                                  {"FrequencyHz", t.frequencyHz ? QJsonValue(*t.frequencyHz) : QJsonValue()},
                                  {"Triggered", t.window.triggered},
                                  {"Frozen", waveformsFrozen()}};
    return out;
}

}  // namespace app::lab
