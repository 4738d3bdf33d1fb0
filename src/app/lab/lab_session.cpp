#include "app/lab/lab_session.h"

#include "app/session/session.h"
#include "measure/calibration/settling.h"

#include <algorithm>
#include <cmath>

namespace app::lab {

LabSession::LabSession(session::Session& session) : QObject(&session), session_(session) {
    connect(&session, &session::Session::blockMeasured, this, &LabSession::update);
    session.addStatePart(QStringLiteral("lab"), this, [this] { return stateJson(); });
}

double LabSession::soundNow() const { return session_.readingHistory.recorded(); }

// --- the record

void LabSession::startRecording() {
    if (recording_) return;
    recording_ = true;
    lastBlockSeen_ = soundNow();
    // The first point with the next block, then one per interval.
    nextDue_ = lastBlockSeen_;
    emit recordingChanged();
}

void LabSession::stopRecording() {
    if (!recording_) return;
    recording_ = false;
    emit recordingChanged();
}

void LabSession::setInterval(double seconds) {
    interval_ = seconds <= 0 ? 0.0 : std::clamp(seconds, kShortestInterval, kLongestInterval);
    nextDue_ = std::min(nextDue_, soundNow() + interval_);
    emit recordingChanged();
}

// --- editing the record

void LabSession::edited() {
    ++revision_;
    refit();
    emit recordEdited();
    emit runsChanged();
}

void LabSession::clear() {
    if (edits_.clear()) edited();
}

bool LabSession::deleteRows(const std::vector<std::size_t>& rows) {
    if (!edits_.removeRows(rows)) return false;
    edited();
    return true;
}

bool LabSession::deleteRun(int id) {
    if (!edits_.removeRun(id)) return false;
    edited();
    return true;
}

bool LabSession::undo() {
    if (!edits_.undo()) return false;
    edited();
    return true;
}

bool LabSession::redo() {
    if (!edits_.redo()) return false;
    edited();
    return true;
}

// --- runs

int LabSession::newRun(const QString& name) {
    const int id = record_.newRun(name);
    emit runsChanged();
    return id;
}

void LabSession::nameRun(const QString& name) {
    const ::lab::Run* run = record_.currentRun();
    if (run == nullptr)
        newRun(name);
    else
        renameRun(run->id, name);
}

bool LabSession::renameRun(int id, const QString& name) {
    if (!record_.renameRun(id, name)) return false;
    ++revision_;  // the table's run column changed
    emit runsChanged();
    return true;
}

bool LabSession::setRunHidden(int id, bool hidden) {
    if (!record_.setRunHidden(id, hidden)) return false;
    refit();
    emit runsChanged();
    return true;
}

void LabSession::requestPoint() {
    pending_ = soundNow();
    updateRequest();
}

::lab::LabPoint LabSession::livePoint() const {
    return ::lab::pointOf(record_.empty() ? 0.0 : soundNow() - startedAt_, measure::circuitValues(session_.state));
}

void LabSession::addPoint() {
    if (record_.empty()) startedAt_ = soundNow();  // the first point is at 0 s
    ::lab::LabPoint point = ::lab::pointOf(soundNow() - startedAt_, measure::circuitValues(session_.state));
    flag(point);
    add(point);
}

void LabSession::flag(::lab::LabPoint& point) const {
    const auto& input = session_.state.LineInput;
    const Readiness ready = readiness();
    point.overload = ready == Readiness::Overload || input.current.overload || input.voltage.overload;
    point.settled = ready == Readiness::Settled && !point.overload;
}

void LabSession::add(const ::lab::LabPoint& point) {
    if (record_.empty()) startedAt_ = soundNow() - point[::lab::Quantity::Time];
    const bool begins = record_.currentRun() == nullptr;
    emit aboutToAddPoint();
    record_.add(point);
    ++revision_;
    runFits_.reset();
    if (!point.flagged() && shown(record_.size() - 1)) fitter_.add(point[graph_.x], point[graph_.y]);
    emit pointAdded();
    if (begins) emit runsChanged();
}

bool LabSession::shown(std::size_t row) const {
    const ::lab::Run* run = record_.run(record_.runOf(row));
    return run == nullptr || !run->hidden;
}

void LabSession::refit() {
    runFits_.reset();
    fitter_.clear();
    const std::vector<double>& xs = record_.column(graph_.x);
    const std::vector<double>& ys = record_.column(graph_.y);
    for (std::size_t i = 0; i < xs.size(); ++i)
        if (!record_.flagged(i) && shown(i)) fitter_.add(xs[i], ys[i]);
}

LabSession::Readiness LabSession::readiness() const {
    // Both instruments, or the one that reads anything (a circuit without
    // current, a voltage not connected), by the points' rule.
    bool settled = false;
    for (const auto instrument : {measure::Instrument::Ammeter, measure::Instrument::Voltmeter}) {
        switch (measure::settling(session_.readingHistory, instrument, session_.generatorChangeArrives,
                                  measure::kPointSettling)) {
            case measure::Settling::Settled: settled = true; break;
            case measure::Settling::NoReading: break;
            case measure::Settling::Overload: return Readiness::Overload;
            case measure::Settling::Unsettled: return Readiness::Waiting;
        }
    }
    return settled ? Readiness::Settled : Readiness::Waiting;
}

void LabSession::update() {
    if (recording_) updateRecording();
    if (pending_) updateRequest();
    if (sweep_.running) updateSweep();
}

void LabSession::updateRecording() {
    const double now = soundNow();
    if (now <= lastBlockSeen_) return;  // no new block since the last look
    const double block = now - lastBlockSeen_;
    lastBlockSeen_ = now;
    // Half a block early counts as due: the blocks' ends rarely fall on the interval.
    if (interval_ > 0 && now + 0.5 * block < nextDue_) return;
    addPoint();
    if (interval_ > 0) nextDue_ = std::max(nextDue_ + interval_, now);
}

void LabSession::updateRequest() {
    switch (readiness()) {
        case Readiness::Settled:
            pending_.reset();
            addPoint();
            emit pointTaken();
            return;
        case Readiness::Overload:
            pending_.reset();
            emit pointRefused(true);
            return;
        case Readiness::Waiting:
            if (soundNow() - *pending_ > kPointPatience) {
                pending_.reset();
                emit pointRefused(false);
            }
            return;
    }
}

// --- the graph

void LabSession::setGraph(const ::lab::GraphChoice& choice) {
    if (choice == graph_) return;
    graph_ = choice;
    refit();
    emit graphChanged();
}

std::optional<::lab::LinearFit> LabSession::fit() const {
    if (!graph_.fit || fitModel_ != ::lab::fit::Model::Line || !axesProblem().isEmpty() || !fitter_.problem().isEmpty())
        return std::nullopt;
    return fitter_.fit();
}

QString LabSession::fitProblem() const {
    if (!graph_.fit) return {};
    if (const QString axes = axesProblem(); !axes.isEmpty()) return axes;
    if (fitModel_ == ::lab::fit::Model::Line) return fitter_.problem();
    if (newestFit() != nullptr) return {};
    const std::vector<RunFit>& fits = runFits();
    return fits.empty() ? QStringLiteral("Nelze proložit: graf nemá body.") : fits.back().result.failure;
}

// --- the waveforms

LabSession::WaveformSource LabSession::waveformSource() const {
    WaveformSource s;
    if (frozen_) {
        s.current = frozen_->current.data();
        s.voltage = frozen_->voltage.data();
        s.frames = frozen_->current.size();
        s.rate = frozen_->rate;
        s.reading = frozen_->reading;
        s.scale = frozen_->scale;
        return s;
    }
    const measure::StereoHistory& h = session_.lineInputMeter.history();
    s.current = h.left();
    s.voltage = h.right();
    s.frames = h.size();
    s.rate = session_.lineInputMeter.rate();
    s.reading = session_.state.LineInput;
    s.scale = measure::sampleScale(session_.state);
    return s;
}

::lab::Traces LabSession::traces() const {
    if (frozen_) {
        // The frozen copy as a history of its own.
        measure::StereoHistory h(std::max<std::size_t>(1, frozen_->current.size()));
        for (std::size_t i = 0; i < frozen_->current.size(); ++i) h.push(frozen_->current[i], frozen_->voltage[i]);
        return ::lab::analyseTraces(h, frozen_->reading, frozen_->rate);
    }
    return ::lab::analyseTraces(session_.lineInputMeter.history(), session_.state.LineInput, session_.lineInputMeter.rate());
}

void LabSession::freezeWaveforms(bool frozen) {
    if (frozen == waveformsFrozen()) return;
    if (frozen) {
        const measure::StereoHistory& h = session_.lineInputMeter.history();
        Frozen f;
        f.current.assign(h.left(), h.left() + h.size());
        f.voltage.assign(h.right(), h.right() + h.size());
        f.rate = session_.lineInputMeter.rate();
        f.reading = session_.state.LineInput;
        f.scale = measure::sampleScale(session_.state);
        frozen_ = std::move(f);
    } else {
        frozen_.reset();
    }
    emit waveformsFrozenChanged();
}

}  // namespace app::lab
