// The sine generator's handlers: the player's fill event and the two track
// bars. The session keeps the settings; the window shows them.
#include "app/window/form.h"

namespace app::window {

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
