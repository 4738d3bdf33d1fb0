#pragma once

#include "render/tint.h"

namespace render {

class Canvas;

// Rows (y of the line end points) of a horizontal band; the pen's round ends
// paint one row more on each side (render/stroke.h).
struct BandRows {
    int top;
    int bottom;
};

// The bands of an instrument image, top to bottom.
inline constexpr BandRows kEdgeStripRows{1, 8};      // grey
inline constexpr BandRows kFaceBandRows{10, 128};    // tint; the scale faces draw on it
inline constexpr BandRows kRuleRows{131, 132};       // grey
inline constexpr BandRows kPointerBandRows{135, 183};  // tint; the pointer slides in it

// Intensity of a band at its two ends (x = 0 and x = 800) and at its centre
// (x = 400).
struct Ramp {
    int end;
    int centre;
};
inline constexpr Ramp kEdgeStripRamp{0, 200};
inline constexpr Ramp kFaceRamp{55, 255};
inline constexpr Ramp kRuleRamp{0, 120};
inline constexpr Ramp kPointerRamp{40, 240};

// A band is painted as vertical lines one every 2 pixels, so that neighbouring
// 3-pixel lines overlap by one: first the left half (j = 0..200 at x = 2j, from
// the end value up to the centre value), then the right half (j = 0..200 at
// x = 400 + 2j, back down). The line at x = 400 is drawn twice, in the centre
// colour; the outermost lines lie at x = 0 and x = 800.
inline constexpr int kRampLinesPerHalf = 201;
inline constexpr int kRampCentreX = 400;

enum class Half { Left, Right };

struct RampLine {
    int x;
    int value;  // intensity, 0..255
};

// Line j (0..200) of one half of a ramp. The value changes by
// (centre - end) * j / 200 from the outer end, rounded to the nearest integer
// (the ramps in use never fall on a half; a half would go to the even value):
// the face band gives 55 + j on the left and 255 - j on the right, the rule
// round(0.6 j) and 120 - round(0.6 j).
RampLine rampLine(const Ramp& ramp, Half half, int j);

// Paints a ramp between the given rows in the given tint, with the canvas's
// current pen width: left half, then right half.
void drawRamp(Canvas& canvas, Tint tint, const Ramp& ramp, const BandRows& rows);

}  // namespace render
