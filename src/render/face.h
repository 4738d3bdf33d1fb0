#pragma once

#include "render/face_table.h"

namespace render {

class Canvas;

// Draws a scale face on its instrument's image: the face band in the
// instrument's tint (which covers the previous face), the rule of the top-range
// faces, the ticks and the numerals (see FaceDesign). It leaves the pen width at
// 3 and the face font, black, with a clear brush on the canvas; it does not
// touch the pointer state.
void drawFace(Canvas& image, FaceId face);

}  // namespace render
