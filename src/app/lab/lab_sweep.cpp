// The frequency sweep of the lab session: TrackBar2 moved step by step as the
// teacher would, a settled point at each step (or, after the step's patience,
// the reading as it is, flagged), the bar put back at the end. Each sweep is a
// run of its own.
#include "app/lab/lab_session.h"

#include "app/session/session.h"
#include "generator/track_bar_settings.h"

namespace app::lab {

QString LabSession::startSweep(const ::lab::SweepPlan& plan) {
    if (sweep_.running) return QStringLiteral("a sweep is running already");
    const QString problem = ::lab::sweepPlanProblem(plan, std::max(generator::kLowestFrequency, session_.barMinimum(session::Bar::Frequency)),
                                                    session_.barMaximum(session::Bar::Frequency));
    if (!problem.isEmpty()) return problem;
    stopRecording();
    pending_.reset();
    frequencies_ = ::lab::sweepFrequencies(plan);
    sweep_ = SweepProgress{};
    sweep_.run = newRun();
    sweep_.running = true;
    sweep_.steps = static_cast<int>(frequencies_.size());
    sweep_.plan = plan;
    sweepStartedAt_ = soundNow();
    barBefore_ = session_.barPosition(session::Bar::Frequency);
    // The curve grows against the frequency.
    if (graph_.x == ::lab::Quantity::Time) {
        ::lab::GraphChoice choice = graph_;
        choice.x = ::lab::Quantity::Frequency;
        choice.logX = plan.logarithmic;
        setGraph(choice);
    }
    setStep(0);
    emit sweepChanged();
    return {};
}

void LabSession::cancelSweep() {
    if (sweep_.running) endSweep(true);
}

void LabSession::setStep(int index) {
    stepStartedAt_ = soundNow();
    // As the teacher's move of the bar: the change handler sets the generator
    // and notes when the new sound reaches the input. The bar moves whether
    // the display mode shows it or not.
    session_.moveBar(session::Bar::Frequency, frequencies_[static_cast<std::size_t>(index)]);
}

void LabSession::updateSweep() {
    sweep_.soundSeconds = soundNow() - sweepStartedAt_;
    const Readiness ready = readiness();
    if (ready != Readiness::Settled) {
        if (soundNow() - stepStartedAt_ <= kStepPatience) return;
        ++sweep_.unsettled;  // taken as it is
    }
    addPoint();
    if (record_.flagged(record_.size() - 1)) ++sweep_.flagged;
    ++sweep_.step;
    if (sweep_.step >= sweep_.steps) {
        endSweep(false);
        return;
    }
    setStep(sweep_.step);
    emit sweepChanged();
}

void LabSession::endSweep(bool cancelled) {
    sweep_.running = false;
    sweep_.finished = !cancelled;
    sweep_.cancelled = cancelled;
    sweep_.soundSeconds = soundNow() - sweepStartedAt_;
    session_.moveBar(session::Bar::Frequency, barBefore_);
    emit sweepChanged();
}

}  // namespace app::lab
