#include "render/band_layout.h"

#include "render/canvas.h"

namespace render {

namespace {
// round(n / d) for n >= 0, d > 0, an exact half to the even neighbour.
int roundedQuotient(int n, int d) {
    int q = n / d;
    const int twice = 2 * (n % d);
    if (twice > d || (twice == d && q % 2 != 0))
        ++q;
    return q;
}
}  // namespace

RampLine rampLine(const Ramp& ramp, Half half, int j) {
    const int step = roundedQuotient((ramp.centre - ramp.end) * j, kRampLinesPerHalf - 1);
    if (half == Half::Left)
        return {2 * j, ramp.end + step};
    return {kRampCentreX + 2 * j, ramp.centre - step};
}

void drawRamp(Canvas& canvas, Tint tint, const Ramp& ramp, const BandRows& rows) {
    for (Half half : {Half::Left, Half::Right}) {
        for (int j = 0; j < kRampLinesPerHalf; ++j) {
            const RampLine l = rampLine(ramp, half, j);
            canvas.setPenColor(shade(tint, l.value));
            canvas.line(l.x, rows.top, l.x, rows.bottom);
        }
    }
}

}  // namespace render
