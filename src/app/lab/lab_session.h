#pragma once
// LabSession: the measurement lab of one run, without widgets: the record of
// points (at every block, at an interval, or one settled point on request)
// in runs, its deletions with undo and redo, the frequency sweep that moves
// TrackBar2 as the teacher would, the graph chosen and its fit, and the
// waveforms held still. The lab window shows it;
// headless, the --do lab:* actions drive it. Owned by the session, it looks
// at the session's readings each time a block has been measured (update()).
//
// Nothing here changes the generator unless asked: without a record, a
// request or a sweep, update() does nothing.
#include "lab/fit/fit.h"
#include "lab/fit/peak.h"
#include "lab/graph_choice.h"
#include "lab/linear_fit.h"
#include "lab/record/point_record.h"
#include "lab/record/record_edits.h"
#include "lab/sweep_plan.h"
#include "lab/waveform_trace.h"
#include "measure/true_rms/circuit_values.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

namespace app::session {
class Session;
}

namespace app::lab {

class LabSession : public QObject {
    Q_OBJECT
public:
    // A requested point waits this long (seconds of sound) for a settled
    // reading; a sweep's step this long before it takes the reading as it is.
    static constexpr double kPointPatience = 10.0;
    static constexpr double kStepPatience = 5.0;
    static constexpr double kLongestInterval = 60.0;
    static constexpr double kShortestInterval = 0.1;

    // Adds "lab" to the session's state.
    explicit LabSession(session::Session& session);

    // --- the record
    void startRecording();
    void stopRecording();
    bool recording() const { return recording_; }
    // Seconds between points while recording: 0 is every block, else 0.1 .. 60.
    void setInterval(double seconds);
    double interval() const { return interval_; }
    const ::lab::PointRecord& record() const { return record_; }
    // Adds a point as taken (the record, a request and a sweep add theirs so);
    // the first point of a record sets its time 0 to the sound recorded now.
    void add(const ::lab::LabPoint& point);

    // --- editing the record: each deletion can be undone and redone
    void clear();  // every point and run ("Smazat body", lab:clear)
    // Rows from 0, in any order; false when none of them is in the record.
    bool deleteRows(const std::vector<std::size_t>& rows);
    bool deleteRun(int id);
    bool undo();
    bool redo();
    bool canUndo() const { return edits_.canUndo(); }
    bool canRedo() const { return edits_.canRedo(); }
    const ::lab::RecordEdits& edits() const { return edits_; }
    // Points were added or deleted since the table was last saved (or, for
    // an empty record, there is nothing to lose).
    bool unexported() const { return !record_.empty() && revision_ != exportedRevision_; }
    void markExported() { exportedRevision_ = revision_; }

    // --- runs: a sweep begins one; so does "Nový běh" for the points that follow
    int newRun(const QString& name = {});
    // The current run's name (a run is begun when there is none).
    void nameRun(const QString& name);
    bool renameRun(int id, const QString& name);
    bool setRunHidden(int id, bool hidden);

    // One point from a settled reading: now when the reading has settled,
    // else as soon as it does (pointTaken), or pointRefused after
    // kPointPatience or when the card's input is overloaded.
    void requestPoint();
    bool pointPending() const { return pending_.has_value(); }
    // The requested point is no longer wanted (its wait was given up).
    void cancelPoint() { pending_.reset(); }

    // --- the sweep
    struct SweepProgress {
        bool running = false;
        bool finished = false;   // the last one ran to its end
        bool cancelled = false;  // the last one was cancelled
        int step = 0;            // points taken
        int steps = 0;           // frequencies to set
        int unsettled = 0;       // steps taken as they were after kStepPatience
        int flagged = 0;         // steps whose point is flagged (clipped or unsettled)
        int run = 0;             // the run its points are in
        double soundSeconds = 0; // seconds of recorded sound since it began
        ::lab::SweepPlan plan;
    };
    // Begins a new run, moves TrackBar2 to each step's frequency, waits for
    // the settled reading and takes it (after kStepPatience as it is, flagged);
    // at the end (or on cancel) puts the bar back where it was. Returns why it
    // cannot start, or "".
    QString startSweep(const ::lab::SweepPlan& plan);
    void cancelSweep();
    const SweepProgress& sweep() const { return sweep_; }

    // --- the graph
    void setGraph(const ::lab::GraphChoice& choice);
    const ::lab::GraphChoice& graph() const { return graph_; }
    // The line through the graph's points that count (not flagged, of the
    // runs shown), when the fit is chosen and the points make one.
    std::optional<::lab::LinearFit> fit() const;
    // Why the chosen fit shows no line ("Nelze proložit: …"), or "".
    QString fitProblem() const;
    // Whether the row's point is drawn and fitted (its run is shown).
    bool shown(std::size_t row) const;

    // --- the fitted curves (lab:fit=<model>): one through each run shown
    struct RunFit {
        int run = 0;  // the run's id
        ::lab::fit::FitResult result;
    };
    // Turns the fit on with this curve (a line unless chosen).
    void setFitModel(::lab::fit::Model model);
    ::lab::fit::Model fitModel() const { return fitModel_; }
    // The chosen curve through the points that count of each run shown that
    // has any, in the runs' order; empty without the fit or in axes it is not
    // drawn in (axesProblem()).
    const std::vector<RunFit>& runFits() const;
    // The newest run's fit, when it could be made.
    const ::lab::fit::Fit* newestFit() const;
    // The marked maximum and minimum: of the newest fit when one is shown,
    // else of the points that count; nothing without such points.
    std::optional<::lab::fit::Peaks> peaks() const;
    // Why the chosen curve is not fitted on these axes (a line on log-log axes), or "".
    QString axesProblem() const;
    // The points shown that a logarithmic axis cannot show (a value ≤ 0): left out of the graph and its fits.
    std::size_t offLogAxis() const;

    // --- the waveforms: the line input's last 0.3 s, or what was held.
    struct WaveformSource {
        const float* current = nullptr;  // sample units, oldest first
        const float* voltage = nullptr;
        std::size_t frames = 0;
        std::int64_t rate = 44100;
        measure::CircuitReading reading;
        measure::SampleScale scale;
    };
    WaveformSource waveformSource() const;
    ::lab::Traces traces() const;
    void freezeWaveforms(bool frozen);
    bool waveformsFrozen() const { return frozen_.has_value(); }

    // The reading now in the circuit's units (the live values).
    ::lab::LabPoint livePoint() const;

    // Looks at the newest readings: takes the points that are due, moves the sweep on.
    void update();

    // --state "lab": Points, Last (the newest point, by the `circuit` keys,
    // with Overload, Settled and Run), Flagged, Runs, CanUndo, CanRedo,
    // Recording, Interval, Sweep, Graph, Fit (or FitProblem), Fits (one per
    // run shown), Peak and Minimum (the marked extremes), Waveform.
    QJsonObject stateJson() const;

    session::Session& session() const { return session_; }

signals:
    void aboutToAddPoint();
    void pointAdded();
    // Points were deleted or put back (the views draw the record afresh).
    void recordEdited();
    // A run was begun, renamed, hidden or shown, deleted or put back.
    void runsChanged();
    void recordingChanged();
    void sweepChanged();
    void graphChanged();
    void waveformsFrozenChanged();
    void pointTaken();
    // Refused: the card's input was overloaded, or the reading did not settle in time.
    void pointRefused(bool overload);

private:
    enum class Readiness { Settled, Waiting, Overload };
    Readiness readiness() const;
    double soundNow() const;
    void addPoint();
    // The flags of a point taken now.
    void flag(::lab::LabPoint& point) const;
    void edited();
    void refit();
    // The graph's points of the runs shown (a run id, or all of them for 0).
    struct GraphPoints {
        std::vector<double> x, y;
        std::vector<std::uint8_t> flags;
        ::lab::fit::Points points() const { return {x, y, flags}; }
    };
    GraphPoints graphPoints(int run) const;
    QJsonValue fitJson() const;
    void updateRecording();
    void updateRequest();
    void updateSweep();
    void setStep(int index);
    void endSweep(bool cancelled);

    session::Session& session_;
    ::lab::PointRecord record_;
    ::lab::RecordEdits edits_{record_};
    std::uint64_t revision_ = 0;
    std::uint64_t exportedRevision_ = 0;
    double startedAt_ = 0;  // seconds of sound at the record's first point

    bool recording_ = false;
    double interval_ = 0;
    double lastBlockSeen_ = -1;
    double nextDue_ = 0;

    std::optional<double> pending_;  // seconds of sound when the point was asked for

    SweepProgress sweep_;
    std::vector<int> frequencies_;
    double sweepStartedAt_ = 0;
    double stepStartedAt_ = 0;
    int barBefore_ = 0;

    ::lab::GraphChoice graph_;
    ::lab::fit::Model fitModel_ = ::lab::fit::Model::Line;
    mutable std::optional<std::vector<RunFit>> runFits_;  // made when asked, until the points change
    // The sums of the fit of the graph's points, a point at a time.
    ::lab::LineFitter fitter_;

    struct Frozen {
        std::vector<float> current, voltage;
        std::int64_t rate = 44100;
        measure::CircuitReading reading;
        measure::SampleScale scale;
    };
    std::optional<Frozen> frozen_;
};

}  // namespace app::lab
