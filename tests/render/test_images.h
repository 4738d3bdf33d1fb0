#pragma once

// Helpers shared by the rendering tests: the window's image sizes and pixel
// shorthands.
#include "measure/instrument.h"
#include "render/canvas.h"

#include <QImage>
#include <QRgb>

namespace render {
// The rendering tests name the instruments as the renderer does.
using measure::Instrument;
}  // namespace render

namespace render::testing {

inline constexpr int kImageWidth = 800;
inline int imageHeight(Instrument i) { return i == Instrument::Source ? 169 : 165; }

inline QRgb px(const Canvas& c, int x, int y) { return c.image().pixel(x, y) & 0xFFFFFFu; }
inline QRgb rgb(int r, int g, int b) { return qRgb(r, g, b) & 0xFFFFFFu; }

inline bool isBlack(const Canvas& c, int x, int y) { return px(c, x, y) == 0; }

}  // namespace render::testing
