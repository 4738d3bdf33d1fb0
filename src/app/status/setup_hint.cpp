#include "app/status/setup_hint.h"

#include "app/options.h"
#include "app/status/band_note.h"
#include "app/status/status_line.h"
#include "app/window/form.h"
#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "mixer/audio_mixer.h"

namespace app::status {

namespace {
// Below the unit box, across the band (in the image's design pixels).
constexpr QRect kNoteArea(10, 80, 780, 48);
constexpr int kNoCardLetterPx = 30;
constexpr int kBenchLetterPx = 19;
}  // namespace

QString noSoundCardText() { return QStringLiteral("Zvuková karta nenalezena."); }

QString benchText() {
    return QStringLiteral("Virtuální měřicí pracoviště otevřete z nabídky ikony programu\n"
                          "nebo příkazem pristroje --audio=bench");
}

QString noSoundCardHint() {
    return noSoundCardText() + QLatin1Char(' ') + benchText().replace(QLatin1Char('\n'), QLatin1Char(' '));
}

bool soundCardUnusable(const window::TForm1& form, const Options& options) {
    if (options.audio != QLatin1String("alsa")) return false;
    return !form.AudioMixer1->Active() || !form.AudioIn1->ErrorMessage().empty() ||
           !form.AudioOut1->ErrorMessage().empty();
}

void showSetupHint(window::TForm1& form, const Options& options, StatusLine& line) {
    if (!soundCardUnusable(form, options)) return;
    line.set(StatusSlot::Setup, noSoundCardHint());
    auto note = [](window::controls::ImageControl* image, int letterPx, const QString& text) {
        const QSize design(image->canvas().width(), image->canvas().height());
        new BandNote(image, design, kNoteArea, letterPx, text);  // owned by the image
    };
    note(form.Image1, kNoCardLetterPx, noSoundCardText());
    note(form.Image3, kBenchLetterPx, benchText());
}

}  // namespace app::status
