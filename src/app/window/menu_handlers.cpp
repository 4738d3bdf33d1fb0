// The click handlers of the instrument menus: each switches one row between its
// analog, digital and hidden display, in the order of steps its entry defines.
#include "app/window/form.h"

namespace app::window {
namespace {

// Captions written into the caption-only menu-bar entries.
const QString kLongAcText = QString::fromUtf8("-střídavý") + QString(15, QLatin1Char(' '));
const QString kShortAcText = QString::fromUtf8("-střídavý");

template <std::size_t N>
void clearFlags(std::array<std::int32_t, N>& flags) {
    flags.fill(0);
}

}  // namespace

// --- ammeter

void TForm1::rukovstejnosmrnamprmetr1Click(QObject*) {
    markDefault("rukovstejnosmrnamprmetr1");
    setMenuCaption("stejnosmrn2", kLongAcText);
    Panel3->hide();
    clearFlags(state.AmmeterFaceFlags);
    state.AmmeterPointerDrawnX = 0;
    state.AmmeterPointerX = 0;
    state.AmmeterAnalogOff = 0;
    AmmeterPass();
}

void TForm1::digitlnstdavamprmetr50Hz1Click(QObject*) {
    markDefault("digitlnstdavamprmetr50Hz1");
    setMenuCaption("stejnosmrn2", kLongAcText);
    DrawAmmeterBackground();
    Panel3->show();
    state.AmmeterAnalogOff = 1;
}

void TForm1::NEZOBRAZITAMPRMETR1Click(QObject*) {
    markDefault("NEZOBRAZITAMPRMETR1");
    Panel3->hide();
    DrawAmmeterBackground();
    state.AmmeterAnalogOff = 1;
}

// --- voltmeter

void TForm1::rukovstejnosmrnvoltmetr1Click(QObject*) {
    markDefault("rukovstejnosmrnvoltmetr1");
    setMenuCaption("stejnosmrn1", kLongAcText);
    Panel2->hide();
    state.VoltmeterValue = 0;
    clearFlags(state.VoltmeterFaceFlags);
    state.VoltmeterPointerDrawnX = 0;
    state.VoltmeterPointerX = 0;
    state.VoltmeterAnalogOff = 0;
    VoltmeterPass();
}

void TForm1::rukovstdavvoltmetr1Click(QObject*) {
    setMenuCaption("stejnosmrn1", kLongAcText);
    state.VoltmeterAnalogOff = 1;
    DrawVoltmeterBackground();
    Panel2->show();
    markDefault("rukovstdavvoltmetr1");
}

void TForm1::NEZOBRAZITVOLTMETR1Click(QObject*) {
    // The bold mark stays where it was.
    Panel2->hide();
    DrawVoltmeterBackground();
    state.VoltmeterAnalogOff = 1;
}

// --- source

void TForm1::setGeneratorControlsVisible(bool visible) {
    TrackBar1->setVisible(visible);
    Edit2->setVisible(visible);
    TrackBar2->setVisible(visible);
    Edit3->setVisible(visible);
}

void TForm1::zobrazitvoltmetrstejnosmrnhozdroje3Click(QObject*) {
    markDefault("zobrazitvoltmetrstejnosmrnhozdroje3");
    setMenuCaption("stejnosmrn1", kLongAcText);
    setMenuCaption("stejnosmrn2", kLongAcText);
    setMenuCaption("stejnosmrn3", kShortAcText);
    Image5->hide();
    Panel10->hide();
    state.SourceAnalogOff = 0;
    Panel4->hide();
    Panel5->hide();
    Panel6->hide();
    setGeneratorControlsVisible(true);
    // The face memory is cleared so that the next pass draws the face of the
    // range the source is in (the lowest face drawn here may not be it), and the
    // pointer, wiped by the digital or hidden display, is drawn afresh.
    clearFlags(state.SourceFaceFlags);
    state.SourcePointerDrawnX = 0;
    DrawSourceFace300mV();
    DrawSourcePointer();
}

void TForm1::digitlnvoltmetrstejnosmrnhozdroje2Click(QObject*) {
    markDefault("digitlnvoltmetrstejnosmrnhozdroje2");
    setMenuCaption("stejnosmrn1", kLongAcText);
    setMenuCaption("stejnosmrn2", kLongAcText);
    setMenuCaption("stejnosmrn3", kShortAcText);
    Image5->hide();
    state.SourceAnalogOff = 1;
    DrawSourceBackground();
    setGeneratorControlsVisible(true);
    Panel4->hide();
    Panel5->hide();
    Panel6->hide();
    Panel10->show();
}

void TForm1::digitlnvoltmetrstdavhozdroje50Hz1Click(QObject*) {
    markDefault("digitlnvoltmetrstdavhozdroje50Hz1");
    setMenuCaption("stejnosmrn1", kLongAcText);
    setMenuCaption("stejnosmrn2", kLongAcText);
    setMenuCaption("stejnosmrn3", kShortAcText);
    Image5->hide();
    Panel10->hide();
    state.SourceAnalogOff = 1;
    DrawSourceBackground();
    setGeneratorControlsVisible(true);
    Panel4->hide();
    Panel5->show();
    Panel6->show();
}

void TForm1::zobrazitvoltmetrstejnosmrnhozdroje4Click(QObject*) {
    // The bold mark stays where it was.
    Panel10->hide();
    Panel4->hide();
    Panel5->hide();
    Panel6->hide();
    setGeneratorControlsVisible(false);
    Image5->show();
    DrawSourceBackground();
    state.SourceAnalogOff = 1;
}

}  // namespace app::window
