#pragma once

#include "measure/instrument.h"

#include <cstdint>

namespace render {

class Canvas;

// Moves an instrument's pointer: erases the pointer last drawn at drawnX by
// repainting the pointer band there and at the band's centre (x = 340..460),
// draws the pointer with its apex at (position, 137) and sets drawnX to
// position. Does nothing at all when position equals drawnX.
//
// The pointer is a fan of red lines from the apex to the base row 173 with a
// yellow edge on its outer side and a black shadow edge on its inner side; the
// outer side is the left one for position <= 400 and the right one above.
// Leaves the pen at width 4 and the last fan colour.
void drawPointer(Canvas& image, measure::Instrument instrument, std::int32_t position, std::int32_t& drawnX);

// Draws the pointer at position over what is there, erasing nothing (for a
// face that repainted the pointer band under a pointer standing still).
void drawPointerShape(Canvas& image, measure::Instrument instrument, std::int32_t position);

}  // namespace render
