// The window's creation handler and the application's default error handler.
#include "app/window/form.h"

#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "mixer/audio_mixer.h"
#include "platform/idle.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>

namespace app::window {

void TForm1::FormCreate(QObject*) {
    // Place the window. Its size is the design size of the client area, so
    // that every control of the definition is shown where it was designed.
    move(0, 0);
    // The three empty instruments and the first source face.
    DrawAmmeterBackground();
    DrawVoltmeterBackground();
    DrawSourceBackground();
    DrawSourceFace300mV();
    DrawSourcePointer();
    // All three rows analog.
    state.VoltmeterAnalogOff = 0;
    state.AmmeterAnalogOff = 0;
    state.SourceAnalogOff = 0;
    // The amplitude bar shown, the source's small readout hidden; Edit2 is
    // shown but stays under Panel14.
    Panel10->hide();
    TrackBar1->show();
    Edit2->show();
    // The grey strip behind the amplitude bar.
    DrawAmplitudeStrip();
    // No readings yet.
    state.VoltmeterValue = 0;
    state.AmmeterValue = 0;
    state.SourceValue = 0;
    // The source row's band meter.
    Image2->show();
    // Face memory and pointer positions cleared: the first passes draw afresh.
    state.AmmeterFaceFlags.fill(0);
    state.VoltmeterFaceFlags.fill(0);
    state.SourceFaceFlags.fill(0);
    state.AmmeterPointerX = 0;
    state.AmmeterPointerDrawnX = 0;
    state.VoltmeterPointerX = 0;
    state.VoltmeterPointerDrawnX = 0;
    state.SourcePointerX = 0;
    state.SourcePointerDrawnX = 0;
    // Generator: 50 Hz; the amplitude is the track bar's position, unscaled.
    GeneratorFrequency = 50;
    TrackBar1->setPosition(100);  // no change event
    state.GeneratorAmplitude = TrackBar1->position();
    // Mixer lines to full volume (raises when there is no mixer).
    startMixer();
    // Recorder and player; the player gets a second try.
    AudioIn1->Start(AudioIn1);
    if (!AudioOut1->Start(AudioOut1)) AudioOut1->Start(AudioOut1);
    // From here on the measuring passes run whenever the queue is empty.
    idle_.setHandler([this](QObject* sender, bool& done) { MyIdleEvent(sender, done); });
    session_.setMeasuring(true);
}

void TForm1::showNoReading() {
    // Dashes where the ammeter, the voltmeter and the source's readout would
    // show a number: the design captions (123 mA, 3.28 V, 275 mV) were never measured.
    Panel3->setCaption(QStringLiteral("--- mA"));
    Panel2->setCaption(QStringLiteral("--- V"));
    Panel4->setCaption(QStringLiteral("--- mV"));
}

void TForm1::startMixer() {
    AudioMixer1->Open();
    // A card without one of these lines, or a line without a volume control,
    // is skipped.
    for (mixer::TSource* line : {static_cast<mixer::TSource*>(AudioMixer1->WaveOut),
                                 static_cast<mixer::TSource*>(AudioMixer1->SpeakersDest)}) {
        if (line == nullptr) continue;
        if (mixer::TVolume* volume = line->GetVolume()) {
            volume->SetLeft(65535);
            volume->SetRight(65535);
        }
    }
}

void TForm1::showErrorBox(const QString& text) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        std::fprintf(stderr, "pristroje: %s\n", text.toLocal8Bit().constData());
        return;
    }
    // Shown once the event loop runs, over the window; never blocks the caller.
    QTimer::singleShot(0, this, [this, text] {
        auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("Učitelské přístroje"), text,
                                    QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });
}

std::unique_ptr<TForm1> createMainWindow(session::Session& session, platform::Idle& idle) {
    auto form = std::make_unique<TForm1>(session, idle);
    try {
        form->FormCreate(form.get());
    } catch (const std::exception& e) {
        form->showError(QString::fromUtf8(e.what()));
        form->showNoReading();
    }
    return form;
}

}  // namespace app::window
