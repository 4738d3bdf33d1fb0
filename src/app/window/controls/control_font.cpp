#include "app/window/controls/control_font.h"

#include <QGuiApplication>

#include <cmath>

namespace app::window::controls {

namespace {
constexpr int kSmallCaptionLimitPx = 20;

// True when a pixel of the window is a whole number of screen pixels (no
// --scale, or a whole factor).
bool wholeDevicePixels() {
    const double ratio = qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
    return ratio == std::floor(ratio);
}
}  // namespace

QFont controlFont(const FontDef& def) {
    QFont font(QString::fromUtf8(def.family));
    font.setPixelSize(def.heightPx);
    font.setBold(def.bold);
    // "Arial Black" falls to Liberation Sans: at its heaviest weight.
    if (QLatin1String(def.family) == QLatin1String("Arial Black")) font.setWeight(QFont::Black);
    // Small whole-pixel glyphs need whole-pixel advances: with the lighter
    // default hinting the 11 px captions ("st ampérmetr") came out with uneven
    // gaps. That holds where a pixel of the window is a whole number of screen
    // pixels. At a factor such as 1.26 no glyph fits whole screen pixels: drawn
    // unsmoothed, each letter is rounded to a pixel on its own and the gaps
    // between them come out uneven ("st ampérmetr", "V OLTMETRU"); there the
    // letters are smoothed and placed where their widths put them. The large
    // captions and readouts read well as they are. (Hinting is set either way,
    // so that a control's font never takes it over from the window's.)
    if (!wholeDevicePixels()) {
        font.setStyleStrategy(QFont::PreferAntialias);
        font.setHintingPreference(QFont::PreferDefaultHinting);
        return font;
    }
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(def.heightPx < kSmallCaptionLimitPx ? QFont::PreferFullHinting
                                                                   : QFont::PreferDefaultHinting);
    return font;
}

}  // namespace app::window::controls
