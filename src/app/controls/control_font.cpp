#include "app/controls/control_font.h"

namespace app {

QFont controlFont(const FontDef& def) {
    QFont font(QString::fromUtf8(def.family));
    font.setPixelSize(def.heightPx);
    font.setBold(def.bold);
    // "Arial Black" falls to Liberation Sans: at its heaviest weight.
    if (QLatin1String(def.family) == QLatin1String("Arial Black")) font.setWeight(QFont::Black);
    font.setStyleStrategy(QFont::NoAntialias);
    // Whole-pixel glyphs need whole-pixel advances: with the lighter default
    // hinting the small captions ("st ampérmetr") came out with uneven gaps.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

}  // namespace app
