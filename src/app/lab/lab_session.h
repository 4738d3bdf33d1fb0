#pragma once
// LabSession: the measurement lab of one run, without widgets: the record of
// points (at every block, at an interval, or one settled point on request),
// the frequency sweep that moves TrackBar2 as the teacher would, the graph
// chosen and its fit, and the waveforms held still. The lab window shows it;
// headless, the --do lab:* actions drive it. Owned by the session, it looks
// at the session's readings each time a block has been measured (update()).
//
// Nothing here changes the generator unless asked: without a record, a
// request or a sweep, update() does nothing.
#include "lab/graph_choice.h"
#include "lab/linear_fit.h"
#include "lab/point_record.h"
#include "lab/sweep_plan.h"
#include "lab/waveform_trace.h"
#include "measure/true_rms/circuit_values.h"

#include <QJsonObject>
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
    void clear();
    const ::lab::PointRecord& record() const { return record_; }
    // Adds a point as taken (the record, a request and a sweep add theirs so);
    // the first point of a record sets its time 0 to the sound recorded now.
    void add(const ::lab::LabPoint& point);

    // One point from a settled reading: now when the reading has settled,
    // else as soon as it does (pointTaken), or pointRefused after
    // kPointPatience or when the card's input is overloaded.
    void requestPoint();
    bool pointPending() const { return pending_.has_value(); }

    // --- the sweep
    struct SweepProgress {
        bool running = false;
        bool finished = false;   // the last one ran to its end
        bool cancelled = false;  // the last one was cancelled
        int step = 0;            // points taken
        int steps = 0;           // frequencies to set
        int unsettled = 0;       // steps taken as they were after kStepPatience
        double soundSeconds = 0; // seconds of recorded sound since it began
        ::lab::SweepPlan plan;
    };
    // Starts a new record, moves TrackBar2 to each step's frequency, waits
    // for the settled reading and takes it; at the end (or on cancel) puts the
    // bar back where it was. Returns why it cannot start, or "".
    QString startSweep(const ::lab::SweepPlan& plan);
    void cancelSweep();
    const SweepProgress& sweep() const { return sweep_; }

    // --- the graph
    void setGraph(const ::lab::GraphChoice& choice);
    const ::lab::GraphChoice& graph() const { return graph_; }
    // The line through the graph's points (when the fit is chosen and there is one).
    std::optional<::lab::LinearFit> fit() const;

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

    // --state "lab": Points, Last (the newest point, by the `circuit` keys),
    // Recording, Interval, Sweep, Graph, Fit, Waveform.
    QJsonObject stateJson() const;

    session::Session& session() const { return session_; }

signals:
    void aboutToAddPoint();
    void pointAdded();
    void cleared();
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
    void updateRecording();
    void updateRequest();
    void updateSweep();
    void setStep(int index);
    void endSweep(bool cancelled);

    session::Session& session_;
    ::lab::PointRecord record_;
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
