#pragma once

#include "measure/instrument.h"

namespace render {

class Canvas;

// The empty band meter of an instrument image: grey edge strip, face band and
// pointer band in the instrument's tint with the grey rule between them, each a
// ramp bright in the middle and dark at both ends. It paints over whatever face
// and pointer were shown. The window's own repaint that precedes it in the
// window's routines is the caller's business.
void drawInstrumentBackground(Canvas& image, measure::Instrument instrument);

// The grey strip under the source row (rows 1..8 of its 10-row image).
void drawSourceEdgeStrip(Canvas& image4);

// The source row's background: drawInstrumentBackground(image2, Source), then
// drawSourceEdgeStrip(image4).
void drawSourceBackground(Canvas& image2, Canvas& image4);

// The grey strip behind the amplitude track bar, over its full 20-row height
// (lines from row 0 to row 20).
void drawAmplitudeStrip(Canvas& image5);

}  // namespace render
