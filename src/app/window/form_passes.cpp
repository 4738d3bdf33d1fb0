// The recorder's block handler and the idle loop with its five passes.
#include "app/window/form.h"

#include "measure/reference/range_pass.h"

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
    return session_.AudioIn1BufferFilled(Buffer, Size);
}

void TForm1::MyIdleEvent(QObject*, bool& Done) {
    MeasureVoltage();
    MeasureCurrent();
    VoltmeterPass();
    AmmeterPass();
    SourcePass();
    session_.passDone();
    Done = false;
}

void TForm1::MeasureVoltage() { Panel2->setCaption(session_.MeasureVoltage()); }

void TForm1::MeasureCurrent() { Panel3->setCaption(session_.MeasureCurrent()); }

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
