// The sine generator's handlers: the player's fill event and the two track
// bars. The session keeps the settings; the window shows them.
#include "app/window/form.h"

namespace app::window {

namespace {

// The bars' steps for the keyboard (arrows; PageUp and PageDown, also a click
// beside the thumb), chosen so that every step shows; the positions stay the
// design's. Amplitude (0..32000, a tick every 500): a position is 0.1 mV of the
// source voltmeter's pointer and 0.11 mV of its digital readout, which counts
// in 20 mV, so a step of 1 shows nothing. An arrow moves half a tick (250:
// 25 mV; the readout changes by at least one digit, the pointer by 58 px on
// the lowest face and still a pixel or two on the 10 V one); PageUp two ticks
// (1000: about 0.1 V, the step between two points of Ohm's law). Frequency:
// an arrow moves 5 Hz, the readout's own step; PageUp one tick (20 Hz).
struct KeyboardSteps {
    int arrow;
    int page;
};
constexpr KeyboardSteps kAmplitudeSteps{250, 1000};
constexpr KeyboardSteps kFrequencySteps{5, 20};

void setSteps(controls::TrackBar& bar, KeyboardSteps steps) {
    bar.setSingleStep(steps.arrow);
    bar.setPageStep(steps.page);
}

}  // namespace

void TForm1::setKeyboardSteps() {
    setSteps(*TrackBar1, kAmplitudeSteps);
    setSteps(*TrackBar2, kFrequencySteps);
}

bool TForm1::AudioOut1FillBuffer(char* Buffer, std::int32_t& Size) {
    return session_.AudioOut1FillBuffer(Buffer, Size);
}

void TForm1::TrackBar1Change(QObject*) { session_.barChanged(session::Bar::Amplitude, TrackBar1->position()); }

void TForm1::TrackBar2Change(QObject*) { session_.barChanged(session::Bar::Frequency, TrackBar2->position()); }

void TForm1::showGenerator(session::Bar bar) {
    // The bar where the session has it (a view moved it, or the frequency was
    // raised to the lowest), then the source row's readouts.
    controls::TrackBar* track = bar == session::Bar::Amplitude ? TrackBar1 : TrackBar2;
    if (track->position() != session_.barPosition(bar)) track->setPosition(session_.barPosition(bar));
    if (bar == session::Bar::Amplitude) {
        const QString text = session_.sourceVoltageText();
        Panel10->setCaption(text);
        Panel6->setCaption(text);
    } else {
        Panel5->setCaption(session_.frequencyCaption());
        Edit3->setText(session_.frequencyEditText());
    }
}

}  // namespace app::window
