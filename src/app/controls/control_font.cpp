#include "app/controls/control_font.h"

namespace app {

QFont controlFont(const FontDef& def) {
    QFont font(QString::fromUtf8(def.family));
    font.setPixelSize(def.heightPx);
    font.setBold(def.bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

}  // namespace app
