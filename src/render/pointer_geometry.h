#pragma once

#include "measure/instrument.h"

#include <cstdint>

namespace render {

// Numbers of the sliding pointer: where it is drawn and which stretch of the
// pointer band is repainted to erase it. Positions are x coordinates in the
// instrument image; any 32-bit value is accepted (what lies outside the image is
// clipped when painted).

// Rows of the pointer: apex at (P, 137), base on row 173; the erase and the
// centre repaint draw their band lines from row 135 to row 173.
inline constexpr int kPointerEdgeRow = 136;   // the yellow edge starts here
inline constexpr int kPointerApexRow = 137;
inline constexpr int kPointerBaseRow = 173;
inline constexpr int kPointerEraseTop = 135;
inline constexpr int kPointerEraseBottom = 173;
inline constexpr int kPointerPenWidth = 4;
inline constexpr int kFanLines = 19;  // k = 0..18

// The pointer counts as being in the left half at P <= 400, in the right half above.
constexpr bool pointerOnLeft(std::int32_t p) { return p <= 400; }

// Lower end of the black shadow edge of a left-half pointer: row 183 for the
// ammeter and the source, 173 for the voltmeter.
constexpr int shadowEndRow(measure::Instrument instrument) {
    return instrument == measure::Instrument::Voltmeter ? 173 : 183;
}

// n / 2 rounded to the nearest integer, an exact half to the even neighbour.
std::int64_t halfRoundedToEven(std::int64_t n);

// The band lines that erase a pointer last drawn at D: i = a..b with
// a = D/2 + 18 and b = D/2 + 60, both rounded half to even; line i lies at
// x = 2i - 80. Empty when last < first.
struct EraseRange {
    std::int64_t first;
    std::int64_t last;
};
EraseRange eraseRange(std::int32_t drawnX);
constexpr std::int64_t eraseLineX(std::int64_t i) { return 2 * i - 80; }

// Which erases run: the left-half one for D <= 390, the right-half one for
// D > 410 (between, the centre repaint covers the old pointer).
constexpr bool erasesLeftHalf(std::int32_t drawnX) { return drawnX <= 390; }
constexpr bool erasesRightHalf(std::int32_t drawnX) { return drawnX > 410; }

// Intensity of erase line i: i mod 256 on the left half, (225 - i) mod 256 on
// the right half, each taken as 0..255. Right of the centre the right-half value
// is one step above the band's (191 at x = 500, where the band has 190).
constexpr int leftEraseValue(std::int64_t i) { return static_cast<int>(i & 0xFF); }
constexpr int rightEraseValue(std::int64_t i) { return static_cast<int>((225 - i) & 0xFF); }

// The centre of the band, repainted at every move: pointer-band ramp lines
// j = 170..200 of the left half (x = 340..400) and j = 0..30 of the right half
// (x = 400..460).
inline constexpr int kCentreRepaintLeftFirst = 170;
inline constexpr int kCentreRepaintRightLast = 30;

}  // namespace render
