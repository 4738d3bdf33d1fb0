// The recorder's block handler and the idle loop with its five passes.
#include "app/window/form.h"

#include "audio/audio_in.h"
#include "measure/reference/buffer_filled.h"
#include "measure/reference/channel_measurement.h"
#include "measure/reference/range_pass.h"
#include "measure/reference/reference_calibration.h"

#include <algorithm>

namespace app::window {
namespace {

// Range index (0 = lowest) → face, per instrument.
constexpr render::FaceId kAmmeterFaces[] = {
    render::FaceId::Ammeter10mA, render::FaceId::Ammeter30mA, render::FaceId::Ammeter300mA,
    render::FaceId::Ammeter1A,   render::FaceId::Ammeter3A,   render::FaceId::Ammeter10A,
    render::FaceId::Ammeter30A};
constexpr render::FaceId kVoltmeterFaces[] = {render::FaceId::Voltmeter300mV, render::FaceId::Voltmeter1V,
                                              render::FaceId::Voltmeter3V, render::FaceId::Voltmeter10V,
                                              render::FaceId::Voltmeter30V};
constexpr render::FaceId kSourceFaces[] = {render::FaceId::Source300mV, render::FaceId::Source1V,
                                           render::FaceId::Source3V, render::FaceId::Source10V,
                                           render::FaceId::Source30V};

template <std::size_t N>
measure::InstrumentDrawing drawingFor(TForm1& form, const render::FaceId (&faces)[N], void (TForm1::*pointer)()) {
    return measure::InstrumentDrawing{
        [&form, &faces](int range) {
            if (range >= 0 && static_cast<std::size_t>(range) < N) form.drawFace(faces[range]);
        },
        [&form, pointer] { (form.*pointer)(); }};
}

}  // namespace

bool TForm1::AudioIn1BufferFilled(char* Buffer, std::int32_t& Size) {
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
        }
    }
    return accepted;
}

void TForm1::MyIdleEvent(QObject*, bool& Done) {
    MeasureVoltage();
    MeasureCurrent();
    VoltmeterPass();
    AmmeterPass();
    SourcePass();
    if (afterIdlePass) afterIdlePass();
    Done = false;
}

// Each pass keeps, for calibrating, the channel's true-RMS reading with a
// factor of 1, whichever path the instrument reads by.
void TForm1::MeasureVoltage() {
    Panel2->setCaption(QString::fromStdString(measure::MeasureVoltage(state, AudioIn1->BufferSize())));
    const measure::ChannelReading& voltage = state.LineInput.voltage;
    readingHistory.measured(measure::Instrument::Voltmeter, static_cast<double>(measure::trueVoltage(voltage.rms)),
                            state.VoltmeterValue, voltage.overload);
}

void TForm1::MeasureCurrent() {
    Panel3->setCaption(QString::fromStdString(measure::MeasureCurrent(state, AudioIn1->BufferSize())));
    const measure::ChannelReading& current = state.LineInput.current;
    readingHistory.measured(measure::Instrument::Ammeter, static_cast<double>(measure::trueCurrent(current.rms)),
                            state.AmmeterValue, current.overload);
}

void TForm1::VoltmeterPass() {
    measure::VoltmeterPass(state, drawingFor(*this, kVoltmeterFaces, &TForm1::DrawVoltmeterPointer));
}

void TForm1::AmmeterPass() {
    measure::AmmeterPass(state, drawingFor(*this, kAmmeterFaces, &TForm1::DrawAmmeterPointer));
}

void TForm1::SourcePass() {
    measure::SourcePass(state, drawingFor(*this, kSourceFaces, &TForm1::DrawSourcePointer));
}

}  // namespace app::window
