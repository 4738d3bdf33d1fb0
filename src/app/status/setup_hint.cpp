#include "app/status/setup_hint.h"

#include "app/options.h"
#include "app/status/band_note.h"
#include "app/status/status_line.h"
#include "app/session/session.h"
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

QString labText() { return QStringLiteral("Měření a grafy otevřete z nabídky okna nebo klávesami Ctrl+M."); }

QString noSoundCardHint() {
    return noSoundCardText() + QLatin1Char(' ') + benchText().replace(QLatin1Char('\n'), QLatin1Char(' ')) +
           QStringLiteral(". ") + labText();
}

bool soundCardUnusable(const session::Session& session, const Options& options) {
    if (options.audio != QLatin1String("alsa")) return false;
    return !session.AudioMixer1->Active() || !session.AudioIn1->ErrorMessage().empty() ||
           !session.AudioOut1->ErrorMessage().empty();
}

void showSetupHint(const session::Session& session, const Options& options, StatusLine& line, HintBand ammeter,
                   HintBand voltmeter) {
    if (!soundCardUnusable(session, options)) return;
    line.set(StatusSlot::Setup, noSoundCardHint());
    auto note = [](const HintBand& band, int letterPx, const QString& text) {
        new BandNote(band.image, band.design, kNoteArea, letterPx, text);  // owned by the image
    };
    note(ammeter, kNoCardLetterPx, noSoundCardText());
    note(voltmeter, kBenchLetterPx, benchText());
}

}  // namespace app::status
