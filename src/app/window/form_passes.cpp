// The recorder's block handler and the idle loop with its five passes.
#include "app/window/form.h"

#include "audio/audio_in.h"
#include "measure/buffer_filled.h"
#include "measure/channel_measurement.h"
#include "measure/range_pass.h"

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
    if (Buffer != nullptr && Size > 0 && frameBytes > 0 && AudioIn1->FrameRate() > 0)
        readingHistory.blockRecorded(static_cast<double>(Size / frameBytes) / AudioIn1->FrameRate());
    return accepted;
}

void TForm1::MyIdleEvent(QObject*, bool& Done) {
    MeasureVoltage();
    MeasureCurrent();
    VoltmeterPass();
    AmmeterPass();
    SourcePass();
    Done = false;
}

void TForm1::MeasureVoltage() {
    Panel2->setCaption(QString::fromStdString(measure::MeasureVoltage(state, AudioIn1->BufferSize())));
    readingHistory.measured(measure::Instrument::Voltmeter, state.VoltageRms, state.VoltmeterValue);
}

void TForm1::MeasureCurrent() {
    Panel3->setCaption(QString::fromStdString(measure::MeasureCurrent(state, AudioIn1->BufferSize())));
    readingHistory.measured(measure::Instrument::Ammeter, state.CurrentRms, state.AmmeterValue);
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
