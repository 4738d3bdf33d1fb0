#include "render/pointer.h"

#include "render/band_layout.h"
#include "render/canvas.h"
#include "render/pointer_geometry.h"
#include "render/tint.h"

#include <algorithm>

namespace render {

namespace {

constexpr int kErasePenWidth = 3;
// Farther than any pen reaches beyond a line's end points.
constexpr std::int64_t kPenReach = 8;

// A line whose end points may lie anywhere on the 64-bit x axis (positions come
// from arbitrary 32-bit values). One that cannot touch the image is skipped; the
// others are short and near the image, so their coordinates fit an int.
void segment(Canvas& image, std::int64_t x1, int y1, std::int64_t x2, int y2) {
    if (std::max(x1, x2) < -kPenReach || std::min(x1, x2) > image.width() + kPenReach)
        return;
    image.line(static_cast<int>(x1), y1, static_cast<int>(x2), y2);
}

void eraseLine(Canvas& image, Tint tint, std::int64_t i, int value) {
    image.setPenColor(shade(tint, value));
    const std::int64_t x = eraseLineX(i);
    segment(image, x, kPointerEraseTop, x, kPointerEraseBottom);
}

void repaintCentre(Canvas& image, Tint tint) {
    const BandRows rows{kPointerEraseTop, kPointerEraseBottom};
    for (int j = kCentreRepaintLeftFirst; j < kRampLinesPerHalf; ++j) {
        const RampLine l = rampLine(kPointerRamp, Half::Left, j);
        image.setPenColor(shade(tint, l.value));
        image.line(l.x, rows.top, l.x, rows.bottom);
    }
    for (int j = 0; j <= kCentreRepaintRightLast; ++j) {
        const RampLine l = rampLine(kPointerRamp, Half::Right, j);
        image.setPenColor(shade(tint, l.value));
        image.line(l.x, rows.top, l.x, rows.bottom);
    }
}

void drawFan(Canvas& image, std::int64_t p, bool brightOnRight) {
    for (int k = 0; k < kFanLines; ++k) {
        image.setPenColor(red(brightOnRight ? 150 + 5 * k : 240 - 5 * k));
        segment(image, p, kPointerApexRow, p - 36 + 4 * k, kPointerBaseRow);
    }
}

}  // namespace

void drawPointer(Canvas& image, measure::Instrument instrument, std::int32_t position, std::int32_t& drawnX) {
    if (drawnX == position)
        return;
    const Tint tint = tintOf(instrument);

    // Erase the old pointer.
    image.setPenWidth(kErasePenWidth);
    const EraseRange erase = eraseRange(drawnX);
    if (erasesLeftHalf(drawnX)) {
        for (std::int64_t i = erase.first; i <= erase.last; ++i)
            eraseLine(image, tint, i, leftEraseValue(i));
    }
    if (erasesRightHalf(drawnX)) {
        for (std::int64_t i = erase.first; i <= erase.last; ++i)
            eraseLine(image, tint, i, rightEraseValue(i));
    }
    repaintCentre(image, tint);

    drawPointerShape(image, instrument, position);
    drawnX = position;
}

void drawPointerShape(Canvas& image, measure::Instrument instrument, std::int32_t position) {
    // Edges: yellow on the outer side, black shadow on the inner side.
    const std::int64_t p = position;
    image.setPenWidth(kPointerPenWidth);
    if (pointerOnLeft(position)) {
        image.setPenColor(kYellow);
        segment(image, p, kPointerEdgeRow, p - 37, kPointerBaseRow);
        image.setPenColor(kBlack);
        segment(image, p + 2, kPointerApexRow, p + 38, shadowEndRow(instrument));
    } else {
        image.setPenColor(kBlack);
        segment(image, p - 1, kPointerApexRow, p - 37, kPointerBaseRow);
        image.setPenColor(kYellow);
        segment(image, p, kPointerEdgeRow, p + 37, kPointerBaseRow);
    }

    // The red fan, brighter towards the outer side: a right-half pointer gets
    // the fan a second time with the colours reversed.
    drawFan(image, p, false);
    if (!pointerOnLeft(position))
        drawFan(image, p, true);
}

}  // namespace render
