#include "app/window/controls/control_font.h"

namespace app::window::controls {

namespace {
constexpr int kSmallCaptionLimitPx = 20;
}

QFont controlFont(const FontDef& def) {
    QFont font(QString::fromUtf8(def.family));
    font.setPixelSize(def.heightPx);
    font.setBold(def.bold);
    // "Arial Black" falls to Liberation Sans: at its heaviest weight.
    if (QLatin1String(def.family) == QLatin1String("Arial Black")) font.setWeight(QFont::Black);
    font.setStyleStrategy(QFont::NoAntialias);
    // Small whole-pixel glyphs need whole-pixel advances: with the lighter
    // default hinting the 11 px captions ("st ampérmetr") came out with uneven
    // gaps. The large captions and readouts read well as they are. (Set either
    // way, so that a control's font never takes it over from the window's.)
    font.setHintingPreference(def.heightPx < kSmallCaptionLimitPx ? QFont::PreferFullHinting
                                                                   : QFont::PreferDefaultHinting);
    return font;
}

}  // namespace app::window::controls
