#include "app/setup_hint.h"

#include "app/command_line.h"
#include "app/form.h"
#include "app/status_line.h"
#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "mixer/audio_mixer.h"

namespace app {

QString noSoundCardHint() {
    return QStringLiteral("Zvuková karta nenalezena. Virtuální měřicí pracoviště otevřete z nabídky ikony programu "
                          "nebo příkazem pristroje --audio=bench");
}

bool soundCardUnusable(const TForm1& form, const Options& options) {
    if (options.audio != QLatin1String("alsa")) return false;
    return !form.AudioMixer1->Active() || !form.AudioIn1->ErrorMessage().empty() ||
           !form.AudioOut1->ErrorMessage().empty();
}

void showSetupHint(TForm1& form, const Options& options) {
    if (soundCardUnusable(form, options)) StatusLine::of(form).set(StatusSlot::Setup, noSoundCardHint());
}

}  // namespace app
