#include "app/status/setup_hint.h"

#include "app/options.h"
#include "app/status/status_line.h"
#include "app/window/form.h"
#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "mixer/audio_mixer.h"

namespace app::status {

QString noSoundCardHint() {
    return QStringLiteral(
        "Zvuková karta nenalezena. Virtuální měřicí pracoviště otevřete z nabídky ikony programu "
        "nebo příkazem pristroje --audio=bench");
}

bool soundCardUnusable(const window::TForm1& form, const Options& options) {
    if (options.audio != QLatin1String("alsa")) return false;
    return !form.AudioMixer1->Active() || !form.AudioIn1->ErrorMessage().empty() ||
           !form.AudioOut1->ErrorMessage().empty();
}

void showSetupHint(const window::TForm1& form, const Options& options, StatusLine& line) {
    if (soundCardUnusable(form, options)) line.set(StatusSlot::Setup, noSoundCardHint());
}

}  // namespace app::status
