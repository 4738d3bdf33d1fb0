#pragma once
// Session: the measurements of one run, below every view of them. It owns the
// recorder, the player and the mixer (the window definition's AudioIn1,
// AudioOut1, AudioMixer1), the shared measurement state, the reading history,
// the line input's true-RMS meter and the generator's settings with its two
// track bars, and handles the recorder's blocks and the player's buffers.
//
// The views take a reference and follow its signals: the main window (which
// keeps the design's names as references into the session), the lab, the
// calibration, the status line, the state export and the class view. A view
// that changes the generator moves a track bar here as a user's move would
// (moveBar), and the main window's bar follows.
//
// Everything runs on the UI thread; the drivers post to the components.
#include "measure/calibration/reading_history.h"
#include "measure/measurement_state.h"
#include "measure/true_rms/true_rms_meter.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>

namespace audio {
class TAudioIn;
class TAudioOut;
}  // namespace audio
namespace mixer {
class TAudioMixer;
}
namespace bench {
class BenchDriver;
}

namespace app::session {

// The generator's track bars: TrackBar1 sets the amplitude, TrackBar2 the frequency.
enum class Bar { Amplitude, Frequency };

class Session : public QObject {
    Q_OBJECT
    // First, so that the names below can point at them.
    std::unique_ptr<audio::TAudioIn> audioIn_;
    std::unique_ptr<audio::TAudioOut> audioOut_;
    std::unique_ptr<mixer::TAudioMixer> mixer_;

public:
    explicit Session(QObject* parent = nullptr);
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // --- the components, as the window definition names them
    audio::TAudioIn* AudioIn1;
    audio::TAudioOut* AudioOut1;
    mixer::TAudioMixer* AudioMixer1;

    // --- the shared state
    measure::MeasurementState state;
    std::int32_t GeneratorFrequency = 0;
    // The readings of the last 2 s of recorded sound (calibration, lab points).
    measure::ReadingHistory readingHistory;
    // The line input's true RMS, frequency, phase and power, block by block.
    measure::TrueRmsMeter lineInputMeter;
    // Seconds of recorded sound (readingHistory's count) by which the
    // generator's last change has surely reached the line input.
    double generatorChangeArrives = 0;

    // --- the components' events
    // The recorder's block: copied into Samples1 and fed to the true-RMS meter.
    bool AudioIn1BufferFilled(char* Buffer, std::int32_t& Size);
    // The player's buffer: the sine of the generator's settings.
    bool AudioOut1FillBuffer(char* Buffer, std::int32_t& Size);

    // --- the measuring passes of the idle loop (the window shows the texts)
    // Each returns its readout's text and keeps, for calibrating, the channel's
    // true-RMS reading with a factor of 1, whichever path the instrument reads by.
    QString MeasureVoltage();
    QString MeasureCurrent();
    // The end of an idle pass: blockMeasured() when a new block has been
    // measured since the last one.
    void passDone();

    // --- the generator's track bars
    // The bar's range of positions (set by the window from its definition).
    void setBarRange(Bar bar, int minimum, int maximum);
    int barMinimum(Bar bar) const { return bars_[index(bar)].minimum; }
    int barMaximum(Bar bar) const { return bars_[index(bar)].maximum; }
    int barPosition(Bar bar) const { return bars_[index(bar)].position; }
    // The window set the bar's position without a change event (FormCreate).
    void noteBarPosition(Bar bar, int position) { bars_[index(bar)].position = position; }
    // The bar's change handler (TrackBar1Change / TrackBar2Change): the bar is
    // at `position` after a user's move; the generator follows.
    void barChanged(Bar bar, int position);
    // A user's move of the bar, made by a view: the position is kept within the
    // bar's range, and the change handler runs only when it really changed.
    void moveBar(Bar bar, int position);

    // The source's voltage readout (Panel10, Panel6) and the frequency's
    // (Panel5, Edit3), as the change handlers write them.
    QString sourceVoltageText() const;
    QString frequencyCaption() const;
    QString frequencyEditText() const;

    // --- the calibration in force (none: the reference card's constants)
    void setCalibration(const std::optional<measure::CalibrationFactors>& factors);

    // --- start-up and failures
    // True once the window's creation handler has run to its end: the
    // measuring passes run and the readouts show what the instruments read.
    bool measuring() const { return measuring_; }
    void setMeasuring(bool on) { measuring_ = on; }
    // The application's default error handler: keeps the text (for --state)
    // and tells the views (errorRaised), which show it.
    void raiseError(const QString& text);
    const QStringList& errors() const { return errors_; }

    // Looks at the sound devices once a second and says when their state
    // changed (a device gone or back, an error, over- and underruns).
    void watchDevices();

    // --- the state for --state and the class view
    // The virtual bench of this run, for its true values (nullptr: none).
    void setBench(bench::BenchDriver* bench) { bench_ = bench; }
    const bench::BenchDriver* bench() const { return bench_; }
    // To swap its load (bench:circuit=...).
    bench::BenchDriver* bench() { return bench_; }
    // A view adds its own key (calibration, lab, statusLine); the part is read
    // each time the state is, until `owner` is destroyed.
    void addStatePart(const QString& key, const QObject* owner, std::function<QJsonValue()> part);
    // Everything but the window's controls and menu: state, audio, mixer,
    // errors, statusLine, circuit, and the views' parts.
    QJsonObject stateJson() const;

signals:
    // A recorded block has been measured (after the idle pass that measured it).
    void blockMeasured();
    // A track bar's change handler has run: the generator has new settings.
    void generatorChanged(app::session::Bar bar);
    // A channel of the line input began or stopped clipping.
    void overloadChanged();
    // Another calibration is in force.
    void calibrationChanged();
    // A sound device went away, came back, failed, or lost data.
    void deviceStateChanged();
    // A failure the teacher must see (message box; headless: stderr).
    void errorRaised(const QString& text);

private:
    struct BarState {
        int minimum = std::numeric_limits<int>::min();
        int maximum = std::numeric_limits<int>::max();
        int position = 0;
    };
    static std::size_t index(Bar bar) { return bar == Bar::Amplitude ? 0 : 1; }
    // Notes when the generator's change now reaches the line input.
    void noteGeneratorChange();
    QString deviceSnapshot() const;

    std::array<BarState, 2> bars_;
    bool measuring_ = false;
    QStringList errors_;
    double measuredUpTo_ = 0;  // seconds of recorded sound at the last blockMeasured()
    bool overloadCurrent_ = false;
    bool overloadVoltage_ = false;
    QTimer deviceTimer_;
    QString devices_;
    bench::BenchDriver* bench_ = nullptr;
    std::map<QString, std::function<QJsonValue()>> stateParts_;
};

}  // namespace app::session
