// The lab session as --state "lab".
#include "app/lab/lab_session.h"
#include "lab/phase_words.h"

#include <QJsonValue>
#include <cmath>

namespace app::lab {
namespace {

// JSON has no NaN or infinity: an unknown value is null.
QJsonValue number(double v) { return std::isfinite(v) ? QJsonValue(v) : QJsonValue(); }

QJsonObject pointJson(const ::lab::LabPoint& p) {
    QJsonObject o;
    for (const ::lab::Quantity q : ::lab::kQuantities) o[::lab::keyOf(q)] = number(p[q]);
    return o;
}

}  // namespace

QJsonObject LabSession::stateJson() const {
    const SweepProgress& s = sweep_;
    QJsonObject out{
        {"Points", static_cast<qint64>(record_.size())},
        {"Last", record_.empty() ? QJsonValue() : QJsonValue(pointJson(record_.point(record_.size() - 1)))},
        {"Recording", recording_},
        {"Interval", interval_},
        {"PointPending", pending_.has_value()},
        {"Sweep", QJsonObject{{"Running", s.running},
                              {"Finished", s.finished},
                              {"Cancelled", s.cancelled},
                              {"Step", s.step},
                              {"Steps", s.steps},
                              {"Unsettled", s.unsettled},
                              {"SoundSeconds", s.soundSeconds},
                              {"FromHz", s.plan.fromHz},
                              {"ToHz", s.plan.toHz},
                              {"Logarithmic", s.plan.logarithmic}}},
        {"Graph", QJsonObject{{"Y", ::lab::keyOf(graph_.y)},
                              {"X", ::lab::keyOf(graph_.x)},
                              {"LogX", graph_.logX},
                              {"LogY", graph_.logY},
                              {"Fit", graph_.fit}}},
    };
    if (const auto f = fit())
        out["Fit"] = QJsonObject{{"Slope", f->slope},
                                 {"Intercept", f->intercept},
                                 {"R2", f->r2},
                                 {"Points", static_cast<qint64>(f->points)},
                                 {"SlopeUnit", ::lab::ratioUnit(graph_.y, graph_.x)}};
    else
        out["Fit"] = QJsonValue();
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
