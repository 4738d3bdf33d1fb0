// The session's components, the recorder's block handler, the measuring
// passes and what the session tells its views.
#include "app/session/session.h"

#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "measure/reference/buffer_filled.h"
#include "measure/reference/channel_measurement.h"
#include "measure/reference/reference_calibration.h"
#include "mixer/audio_mixer.h"
#include "platform/wave/device_status.h"

#include <algorithm>

namespace app::session {
namespace {

// How often the sound devices' state is looked at (their threads report it).
constexpr int kDeviceLookMs = 1000;

}  // namespace

Session::Session(QObject* parent)
    : QObject(parent),
      audioIn_(std::make_unique<audio::TAudioIn>(this)),
      audioOut_(std::make_unique<audio::TAudioOut>(this)),
      mixer_(std::make_unique<mixer::TAudioMixer>(this)),
      AudioIn1(audioIn_.get()),
      AudioOut1(audioOut_.get()),
      AudioMixer1(mixer_.get()) {
    // The window definition's properties of the two audio components.
    AudioIn1->SetFrameRate(44100);
    AudioIn1->SetStereo(true);
    AudioIn1->SetBufferSize(10000);
    AudioIn1->SetNumBuffers(2);
    AudioIn1->OnBufferFilled = [this](char* b, std::int32_t& s) { return AudioIn1BufferFilled(b, s); };
    AudioOut1->SetFrameRate(22050);
    AudioOut1->OnFillBuffer = [this](char* b, std::int32_t& s) { return AudioOut1FillBuffer(b, s); };
    connect(&deviceTimer_, &QTimer::timeout, this, [this] {
        QString now = deviceSnapshot();
        if (now == devices_) return;
        devices_ = std::move(now);
        emit deviceStateChanged();
    });
}

Session::~Session() {
    // Components stop their devices before the session's memory goes away.
    audioIn_.reset();
    audioOut_.reset();
    mixer_.reset();
}

bool Session::AudioIn1BufferFilled(char* Buffer, std::int32_t& Size) {
    const bool accepted = measure::AudioIn1BufferFilled(state, Buffer, Size);
    const std::int32_t frameBytes = (AudioIn1->Stereo() ? 2 : 1) * (AudioIn1->Quantization() / 8);
    if (Buffer != nullptr && Size > 0 && frameBytes > 0 && AudioIn1->FrameRate() > 0) {
        const std::int32_t frames = Size / frameBytes;
        readingHistory.blockRecorded(static_cast<double>(frames) / AudioIn1->FrameRate());
        if (AudioIn1->Stereo() && AudioIn1->Quantization() == 16) {
            // The block as the handler has just copied it into Samples1.
            const auto held = std::min<std::size_t>(static_cast<std::size_t>(frames), measure::kWorkingArraySize / 2);
            lineInputMeter.addBlock(state.Samples1.data(), held);
            state.LineInput = lineInputMeter.reading();
            const bool current = state.LineInput.current.overload;
            const bool voltage = state.LineInput.voltage.overload;
            if (current != overloadCurrent_ || voltage != overloadVoltage_) {
                overloadCurrent_ = current;
                overloadVoltage_ = voltage;
                emit overloadChanged();
            }
        }
    }
    return accepted;
}

QString Session::MeasureVoltage() {
    const QString text = QString::fromStdString(measure::MeasureVoltage(state, AudioIn1->BufferSize()));
    const measure::ChannelReading& voltage = state.LineInput.voltage;
    readingHistory.measured(measure::Instrument::Voltmeter, static_cast<double>(measure::trueVoltage(voltage.rms)),
                            state.VoltmeterValue, voltage.overload);
    return text;
}

QString Session::MeasureCurrent() {
    const QString text = QString::fromStdString(measure::MeasureCurrent(state, AudioIn1->BufferSize()));
    const measure::ChannelReading& current = state.LineInput.current;
    readingHistory.measured(measure::Instrument::Ammeter, static_cast<double>(measure::trueCurrent(current.rms)),
                            state.AmmeterValue, current.overload);
    return text;
}

void Session::passDone() {
    if (readingHistory.recorded() == measuredUpTo_) return;
    measuredUpTo_ = readingHistory.recorded();
    emit blockMeasured();
}

void Session::setCalibration(const std::optional<measure::CalibrationFactors>& factors) {
    state.Calibration = factors;
    emit calibrationChanged();
}

void Session::raiseError(const QString& text) {
    errors_.append(text);
    emit errorRaised(text);
}

QString Session::deviceSnapshot() const {
    namespace wave = platform::wave;
    QString s;
    for (const auto d : {wave::Direction::Input, wave::Direction::Output}) {
        if (const auto o = wave::deviceOutage(d))
            s += QStringLiteral("gone %1 %2;").arg(QString::fromStdString(o->device)).arg(o->since.time_since_epoch().count());
        if (const auto r = wave::lastDeviceReturn(d))
            s += QStringLiteral("back %1 %2;").arg(QString::fromStdString(r->device)).arg(r->at.time_since_epoch().count());
        s += QStringLiteral("xruns %1;").arg(wave::xrunCount(d));
    }
    return s + QString::fromStdString(wave::lastDeviceError());
}

void Session::watchDevices() {
    devices_ = deviceSnapshot();
    deviceTimer_.start(kDeviceLookMs);
}

void Session::addStatePart(const QString& key, const QObject* owner, std::function<QJsonValue()> part) {
    stateParts_[key] = std::move(part);
    connect(owner, &QObject::destroyed, this, [this, key] { stateParts_.erase(key); });
}

}  // namespace app::session
