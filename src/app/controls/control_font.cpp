#include "app/controls/control_font.h"

namespace app {

QFont controlFont(const FontDef& def) {
    QFont font(QString::fromUtf8(def.family));
    font.setPixelSize(def.heightPx);
    font.setBold(def.bold);
    // "Arial Black" falls to Liberation Sans: at its heaviest weight.
    if (QLatin1String(def.family) == QLatin1String("Arial Black")) font.setWeight(QFont::Black);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

}  // namespace app
