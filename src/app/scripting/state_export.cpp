#include "app/scripting/state_export.h"

#include "app/calibration/calibration_session.h"
#include "app/lab/lab_session.h"
#include "app/status/status_line.h"
#include "app/window/form.h"
#include "app/window/window_definition.h"
#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "bench/bench_driver.h"
#include "bench/bench_rlc_truth.h"
#include "measure/true_rms/circuit_values.h"
#include "mixer/mixer_state.h"
#include "platform/wave/device_status.h"
#include "platform/wave/driver_registry.h"

#include <QJsonArray>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace app::scripting {
namespace {

const char* kindName(window::ControlKind kind) {
    switch (kind) {
        case window::ControlKind::Image: return "image";
        case window::ControlKind::Edit: return "edit";
        case window::ControlKind::TrackBar: return "trackbar";
        case window::ControlKind::Panel: return "panel";
        case window::ControlKind::SpeedButton: return "speedbutton";
    }
    return "";
}

QJsonObject controlsJson(const window::TForm1& form) {
    QJsonObject out;
    for (const window::ControlDef& def : window::controlDefinitions()) {
        const QWidget* w = form.control(QString::fromUtf8(def.name));
        QJsonObject c{{"kind", kindName(def.kind)},
                      {"parent", QString::fromUtf8(def.parent)},
                      {"left", w->x()},
                      {"top", w->y()},
                      {"width", w->width()},
                      {"height", w->height()},
                      {"visible", !w->isHidden()},
                      {"enabled", w->isEnabled()}};
        switch (def.kind) {
            case window::ControlKind::Panel:
                c["caption"] = static_cast<const window::controls::PanelControl*>(w)->caption();
                break;
            case window::ControlKind::SpeedButton:
                c["caption"] = static_cast<const QToolButton*>(w)->text();
                break;
            case window::ControlKind::Edit:
                c["text"] = static_cast<const QLineEdit*>(w)->text();
                break;
            case window::ControlKind::TrackBar:
                c["position"] = static_cast<const window::controls::TrackBar*>(w)->position();
                break;
            case window::ControlKind::Image:
                break;
        }
        out[QString::fromUtf8(def.name)] = c;
    }
    // The window itself: its caption, and its place and size on the screen.
    const QRect frame = form.frameGeometry();
    out["Form1"] = QJsonObject{{"caption", form.windowTitle()},
                               {"left", frame.x()},
                               {"top", frame.y()},
                               {"width", frame.width()},
                               {"height", frame.height()}};
    return out;
}

QJsonObject menuJson(const window::TForm1& form) {
    QJsonObject out;
    for (const window::MenuDef& def : window::menuDefinitions()) {
        const QString name = QString::fromUtf8(def.name);
        const QAction* a = form.menuEntry(name);
        const QAction* parent = form.parentMenuOf(name);
        out[name] = QJsonObject{{"caption", a->text()},
                                {"enabled", a->isEnabled()},
                                {"default", form.isDefaultEntry(name)},
                                {"parent", parent != nullptr ? parent->objectName() : QString()}};
    }
    return out;
}

template <std::size_t N>
QJsonArray flagsJson(const std::array<std::int32_t, N>& flags) {
    QJsonArray a;
    for (auto f : flags) a.append(f);
    return a;
}

QJsonObject stateJson(const window::TForm1& form) {
    const auto& s = form.state;
    return QJsonObject{
        {"AmmeterValue", s.AmmeterValue},
        {"VoltmeterValue", s.VoltmeterValue},
        {"SourceValue", s.SourceValue},
        {"AmmeterPointerX", s.AmmeterPointerX},
        {"AmmeterPointerDrawnX", s.AmmeterPointerDrawnX},
        {"VoltmeterPointerX", s.VoltmeterPointerX},
        {"VoltmeterPointerDrawnX", s.VoltmeterPointerDrawnX},
        {"SourcePointerX", s.SourcePointerX},
        {"SourcePointerDrawnX", s.SourcePointerDrawnX},
        {"AmmeterFaceFlags", flagsJson(s.AmmeterFaceFlags)},
        {"VoltmeterFaceFlags", flagsJson(s.VoltmeterFaceFlags)},
        {"SourceFaceFlags", flagsJson(s.SourceFaceFlags)},
        {"AmmeterAnalogOff", s.AmmeterAnalogOff},
        {"VoltmeterAnalogOff", s.VoltmeterAnalogOff},
        {"SourceAnalogOff", s.SourceAnalogOff},
        {"GeneratorAmplitude", s.GeneratorAmplitude},
        {"GeneratorFrequency", form.GeneratorFrequency},
        // False when the start ended early: the values above were never measured.
        {"Measuring", form.measuring()},
    };
}

QJsonObject componentJson(const audio::TAudioIO& c) {
    return QJsonObject{{"FilledCount", c.FilledCount()},
                       {"DoneCount", c.DoneCount()},
                       {"QueuedCount", c.QueuedCount()},
                       {"ErrorMessage", QString::fromStdString(c.ErrorMessage())}};
}

QJsonObject audioJson(const window::TForm1& form) {
    namespace wave = platform::wave;
    QJsonObject audio{
        {"AudioIn1", componentJson(*form.AudioIn1)},
        {"AudioOut1", componentJson(*form.AudioOut1)},
        {"Overruns", static_cast<qint64>(wave::xrunCount(wave::Direction::Input))},
        {"Underruns", static_cast<qint64>(wave::xrunCount(wave::Direction::Output))},
        {"DeviceError", QString::fromStdString(wave::lastDeviceError())},
    };
    // Real devices come and go: how often they came back, and how long they were away.
    if (const auto driver = wave::currentDriver(); driver && driver->name() == "alsa") {
        audio.insert("Reconnects", static_cast<qint64>(wave::reconnectCount()));
        audio.insert("MissingSeconds", std::round(wave::missingSeconds() * 10.0) / 10.0);
    }
    return audio;
}

// The bench's true values: what a reference meter would show on its circuit
// (RMS over the last second), the load's own power over it, impedance and
// phase at the generator's frequency (without the divider across it), and its
// settings.
QJsonObject benchJson(const bench::BenchDriver& bench, std::int32_t generatorHz) {
    const bench::BenchReading truth = bench.trueValues();
    const bench::BenchConfig& config = bench.config();
    const bench::BenchRlc load = config.circuit.value_or(bench::BenchRlc{config.loadOhms, {}, {}});
    const bench::BenchRlcTruth steady =
        bench::benchRlcTruth(load, std::max<std::int32_t>(generatorHz, 1), truth.sourceMillivolts);
    return QJsonObject{{"SourceMillivolts", truth.sourceMillivolts},
                       {"LoadMillivolts", truth.loadMillivolts},
                       {"CurrentMilliamps", truth.currentMilliamps},
                       {"PowerMilliwatts", truth.loadPowerMilliwatts},
                       {"ImpedanceOhms", steady.loadOhms},
                       {"PhaseDegrees", steady.loadPhaseDegrees},
                       {"LoadOhms", load.ohms},
                       {"InputGain", config.lineInputGain},
                       {"OutputGain", config.lineOutputGain}};
}

// JSON has no NaN or infinity: a value that is absent is null.
QJsonValue known(const std::optional<double>& v) { return v ? QJsonValue(*v) : QJsonValue(); }
QString known(const std::optional<double>& v, int decimals) {
    return v ? QString::number(*v, 'f', decimals) : QStringLiteral("-");
}

// The circuit's quantities from the line input's two channels, in the
// instruments' units: the card's profile, or the reference constants. |Z|,
// the phase, the power and the power factor are the load's own; without a
// signal the frequency, |Z|, the phase and the power factor are null.
QJsonObject circuitJson(const measure::MeasurementState& state) {
    const measure::CircuitValues v = measure::circuitValues(state);
    const measure::CircuitReading& r = state.LineInput;
    return QJsonObject{{"CurrentMilliamps", v.milliamps},
                       {"VoltageMillivolts", v.millivolts},
                       {"FrequencyHz", known(v.frequencyHz)},
                       {"PhaseDegrees", known(v.phaseDegrees)},
                       {"ImpedanceOhms", known(v.ohms)},
                       {"PowerMilliwatts", v.milliwatts},
                       {"PowerFactor", known(v.powerFactor)},
                       {"LoadCurrentMilliamps", v.loadMilliamps},
                       {"Constants", measure::usesProfile(state) ? "profile" : "reference"},
                       {"CurrentOverload", r.current.overload},
                       {"VoltageOverload", r.voltage.overload},
                       {"Settled", r.settled}};
}

// The circuit's line of --print-readouts.
QString circuitSummary(const measure::MeasurementState& state) {
    const measure::CircuitValues v = measure::circuitValues(state);
    const measure::CircuitReading& r = state.LineInput;
    QString line =
        QStringLiteral("circuit %1 mA, %2 mV, %3 Hz, load: phase %4 deg, |Z| %5 ohm, P %6 mW, lambda %7 (%8)")
            .arg(v.milliamps, 0, 'f', 3)
            .arg(v.millivolts, 0, 'f', 3)
            .arg(known(v.frequencyHz, 3), known(v.phaseDegrees, 2), known(v.ohms, 3))
            .arg(v.milliwatts, 0, 'f', 4)
            .arg(known(v.powerFactor, 4),
                 measure::usesProfile(state) ? QStringLiteral("profile") : QStringLiteral("reference"));
    if (r.current.overload) line += QStringLiteral(", current overload");
    if (r.voltage.overload) line += QStringLiteral(", voltage overload");
    return line;
}

}  // namespace

QJsonObject exportState(const window::TForm1& form, const StateSources& sources) {
    QJsonArray errors;
    for (const QString& e : form.errors()) errors.append(e);
    QJsonObject out{
        {"controls", controlsJson(form)},
        {"menu", menuJson(form)},
        {"state", stateJson(form)},
        {"audio", audioJson(form)},
        {"mixer", mixer::mixerStateJson(*form.AudioMixer1)},
        {"errors", errors},
        {"statusLine", sources.statusLine != nullptr ? sources.statusLine->shown() : QString()},
        {"circuit", circuitJson(form.state)},
    };
    // The calibration in force (none: the reference constants) and the bench's true values.
    if (sources.calibration != nullptr) out["calibration"] = sources.calibration->stateJson();
    if (sources.bench != nullptr) out["bench"] = benchJson(*sources.bench, form.GeneratorFrequency);
    // The lab: its points, the newest one, the sweep, the graph and its fit.
    if (sources.lab != nullptr) out["lab"] = sources.lab->stateJson();
    return out;
}

QString readoutSummary(const window::TForm1& form) {
    const auto& s = form.state;
    if (!form.measuring())
        return QStringLiteral("no reading (the start ended early): ammeter \"%1\", voltmeter \"%2\", generator %3 Hz "
                              "amplitude %4")
            .arg(form.Panel3->caption(), form.Panel2->caption())
            .arg(form.GeneratorFrequency)
            .arg(s.GeneratorAmplitude);
    return QStringLiteral("ammeter %1 mA (\"%2\"), voltmeter %3 mV (\"%4\"), source %5 mV, generator %6 Hz "
                          "amplitude %7")
        .arg(s.AmmeterValue, 0, 'f', 3)
        .arg(form.Panel3->caption())
        .arg(s.VoltmeterValue, 0, 'f', 3)
        .arg(form.Panel2->caption())
        .arg(s.SourceValue, 0, 'f', 3)
        .arg(form.GeneratorFrequency)
        .arg(s.GeneratorAmplitude) +
           QLatin1Char('\n') + circuitSummary(s);
}

}  // namespace app::scripting
