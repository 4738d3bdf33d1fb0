// The drawing entry points of the window: each names one instrument's image
// and hands it to the renderer.
#include "app/window/form.h"

#include "app/window/window_definition.h"
#include "render/background.h"
#include "render/pointer.h"

namespace app::window {

controls::ImageControl* TForm1::imageOf(measure::Instrument instrument) const {
    switch (instrument) {
        case measure::Instrument::Ammeter: return Image1;
        case measure::Instrument::Voltmeter: return Image3;
        case measure::Instrument::Source: return Image2;
    }
    return Image1;
}

void TForm1::repaintWindow() {
    // A synchronous refresh of the whole window, as the backgrounds ask for.
    if (isVisible()) repaint();
}

void TForm1::DrawAmmeterBackground() {
    repaintWindow();
    Image1->canvas().beginLayer(render::Canvas::Layer::Background);
    render::drawInstrumentBackground(Image1->canvas(), measure::Instrument::Ammeter);
    Image1->refresh();
    // A blank band (digital or hidden ammeter) has no numerals to name: the
    // box says what the instrument is, as designed ("mA"). Under the digital
    // readout, which covers the box, that is the unit of its whole numbers;
    // from 1 A up the readout writes its own " A".
    showAmmeterUnit(findControlDefinition(QStringLiteral("Panel11"))->caption);
}

void TForm1::showAmmeterUnit(std::string_view unit) {
    // The box names the unit of the numerals on the band, so that 0.1 on the
    // 300 mA face is read as 0.1 A.
    Panel11->setCaption(QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size())));
}

void TForm1::DrawVoltmeterBackground() {
    repaintWindow();
    Image3->canvas().beginLayer(render::Canvas::Layer::Background);
    render::drawInstrumentBackground(Image3->canvas(), measure::Instrument::Voltmeter);
    Image3->refresh();
}

void TForm1::DrawSourceBackground() {
    repaintWindow();
    Image2->canvas().beginLayer(render::Canvas::Layer::Background);
    Image4->canvas().beginLayer(render::Canvas::Layer::Background);
    render::drawSourceBackground(Image2->canvas(), Image4->canvas());
    Image2->refresh();
    Image4->refresh();
}

void TForm1::DrawAmplitudeStrip() {
    Image5->canvas().beginLayer(render::Canvas::Layer::Background);
    render::drawAmplitudeStrip(Image5->canvas());
    Image5->refresh();
}

void TForm1::drawFace(render::FaceId face) {
    controls::ImageControl* image = imageOf(render::faceInstrument(face));
    image->canvas().beginLayer(render::Canvas::Layer::Face);
    render::drawFace(image->canvas(), face);
    if (render::faceInstrument(face) == measure::Instrument::Ammeter) showAmmeterUnit(render::faceDesign(face).unit);
    // A face that repaints the pointer band puts the pointer standing there
    // back (0: none drawn yet; positions of a reading are 50 and above).
    if (render::faceDesign(face).pointerBand) {
        const measure::Instrument instrument = render::faceInstrument(face);
        const std::int32_t drawn = measure::instrumentFields(state, instrument).pointerDrawnX;
        if (drawn != 0) render::drawPointerShape(image->canvas(), instrument, drawn);
    }
    image->refresh();
}

void TForm1::drawPointer(measure::Instrument instrument) {
    std::int32_t* x = nullptr;
    std::int32_t* drawn = nullptr;
    switch (instrument) {
        case measure::Instrument::Ammeter:
            x = &state.AmmeterPointerX;
            drawn = &state.AmmeterPointerDrawnX;
            break;
        case measure::Instrument::Voltmeter:
            x = &state.VoltmeterPointerX;
            drawn = &state.VoltmeterPointerDrawnX;
            break;
        case measure::Instrument::Source:
            x = &state.SourcePointerX;
            drawn = &state.SourcePointerDrawnX;
            break;
    }
    // Unchanged position: nothing is drawn, and no repaint is asked for (a
    // repaint would wake the event loop for another idle pass, and so on).
    if (*x == *drawn) return;
    controls::ImageControl* image = imageOf(instrument);
    image->canvas().beginLayer(render::Canvas::Layer::Pointer);
    render::drawPointer(image->canvas(), instrument, *x, *drawn);
    image->refresh();
}

void TForm1::DrawAmmeterPointer() { drawPointer(measure::Instrument::Ammeter); }
void TForm1::DrawVoltmeterPointer() { drawPointer(measure::Instrument::Voltmeter); }
void TForm1::DrawSourcePointer() { drawPointer(measure::Instrument::Source); }

}  // namespace app::window
