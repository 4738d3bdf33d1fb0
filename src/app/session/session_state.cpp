// The session's part of the state export (--state, the class view): the
// measurement state, the audio components, the mixer, the errors, the
// circuit's quantities, the bench's true values and the views' own parts.
#include "app/session/session.h"

#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "bench/bench_driver.h"
#include "bench/bench_rlc_truth.h"
#include "measure/true_rms/circuit_values.h"
#include "mixer/audio_mixer.h"
#include "mixer/mixer_state.h"
#include "platform/wave/device_status.h"
#include "platform/wave/driver_registry.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>

namespace app::session {
namespace {

template <std::size_t N>
QJsonArray flagsJson(const std::array<std::int32_t, N>& flags) {
    QJsonArray a;
    for (auto f : flags) a.append(f);
    return a;
}

QJsonObject measurementJson(const Session& session) {
    const auto& s = session.state;
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
        {"GeneratorFrequency", session.GeneratorFrequency},
        // False when the start ended early: the values above were never measured.
        {"Measuring", session.measuring()},
    };
}

QJsonObject componentJson(const audio::TAudioIO& c) {
    return QJsonObject{{"FilledCount", c.FilledCount()},
                       {"DoneCount", c.DoneCount()},
                       {"QueuedCount", c.QueuedCount()},
                       {"ErrorMessage", QString::fromStdString(c.ErrorMessage())}};
}

QJsonObject audioJson(const Session& session) {
    namespace wave = platform::wave;
    QJsonObject audio{
        {"AudioIn1", componentJson(*session.AudioIn1)},
        {"AudioOut1", componentJson(*session.AudioOut1)},
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

}  // namespace

QJsonObject Session::stateJson() const {
    QJsonArray errors;
    for (const QString& e : errors_) errors.append(e);
    QJsonObject out{
        {"state", measurementJson(*this)},
        {"audio", audioJson(*this)},
        {"mixer", mixer::mixerStateJson(*AudioMixer1)},
        {"errors", errors},
        {"statusLine", QString()},
        {"circuit", circuitJson(state)},
    };
    // The bench's true values, and what the views add (the status line, the
    // calibration in force, the lab).
    if (bench_ != nullptr) out["bench"] = benchJson(*bench_, GeneratorFrequency);
    for (const auto& [key, part] : stateParts_) out[key] = part();
    return out;
}

}  // namespace app::session
