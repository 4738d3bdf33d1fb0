#pragma once

#include "measure/instrument.h"
#include "render/band_layout.h"

#include <optional>
#include <span>
#include <string_view>

namespace render {

// The scale faces, one per measuring range, in the order of the range tables:
// ammeter 10 mA .. 30 A, voltmeter 300 mV .. 30 V, source 300 mV .. 30 V.
enum class FaceId {
    Ammeter10mA,
    Ammeter30mA,
    Ammeter300mA,
    Ammeter1A,
    Ammeter3A,
    Ammeter10A,
    Ammeter30A,
    Voltmeter300mV,
    Voltmeter1V,
    Voltmeter3V,
    Voltmeter10V,
    Voltmeter30V,
    Source300mV,
    Source1V,
    Source3V,
    Source10V,
    Source30V,
};
inline constexpr int kFaceCount = 17;

// One set of equally spaced ticks: x = kFirstTickX + spacing * k, k = 0..count-1,
// each a black line from (x, top) to (x, bottom) with the given pen width.
struct TickSet {
    int count;
    int spacing;
    int top;
    int bottom;
    int penWidth;
};
inline constexpr int kFirstTickX = 50;
constexpr int tickX(const TickSet& set, int k) { return kFirstTickX + set.spacing * k; }

// A text with the top-left corner of its character cell.
struct Numeral {
    std::string_view text;
    int x;
    int y;
};

// Everything that tells one face from another. A face paints its band (the face
// ramp of the instrument's tint between band.top and band.bottom), then the grey
// rule when it has one, then its tick sets in order, then its numerals in order,
// in black on a clear brush in the face font at fontPoints.
struct FaceDesign {
    std::string_view name;  // the window's routine that draws it, e.g. "DrawAmmeterFace10mA"
    measure::Instrument instrument;
    BandRows band;
    std::optional<BandRows> rule;
    std::span<const TickSet> ticks;
    int fontPoints;
    std::span<const Numeral> numerals;
    // The unit the numerals count in, as the instrument's unit box names it:
    // "mA" for 0..10 and 0..30 mA, "A" for the faces numbered in amperes
    // (0..0.3 A and up), "V" for every face of the voltmeters.
    std::string_view unit;
    // Rows repainted in the pointer band's ramp after the band, as the
    // background has them (only the top-range faces; see kTopFaceRow).
    std::optional<BandRows> pointerBand = std::nullopt;
};

// A decimal numeral is one text, "0.1": the point on the baseline between
// the digits, each digit as far from it as the font's point width puts it,
// so that the scale reads 0.1 0.2 0.3 and not "01". The text stands where the
// two digits alone would stand, widened by the point's width on both sides
// alike (the 0..1 A face: to the right, clear of the unit box).

// The face font, looked up by this name (see render/fonts.h for its fallback).
inline constexpr std::string_view kFaceFontName = "Arial Narow CE";

// The top-range faces (30 A, 30 V, source 30 V) carry a design of their own,
// placed relative to a top row T: band from T, three-division ticks hanging
// from T+3, numerals with their cell top at T+55 (their ink on rows
// T+74..T+135 in the face font). No T keeps both the whole design inside the
// image and the numerals clear of the pointer, which repaints rows 134 and
// below. T = -6 keeps what is read whole: the top 6 rows of the band lie above
// the image and the ticks start at its top edge, while the numerals (ink on
// rows 68..129) stay above the pointer's rows and inside the rows every
// ordinary face repaints (9..129), so no part of a numeral is cut by the
// pointer or left behind after a change of range.
// Below the numerals a top face looks like the tall faces: its band covers the
// rule (down to row 132), then come the pointer band's own shades (rows
// 135..148, as far down as a tall face reaches). So the pointer's erase, which
// repaints the pointer band's shades, leaves no block of another shade on the
// face, and nothing of a tall 3 A or 10 A face shows under it. The pointer standing there is drawn again
// over the repainted rows (TForm1::drawFace). What a later ordinary face leaves
// of a top face (the ticks' tops on rows 0..8) stays until the next background.
inline constexpr int kTopFaceRow = -6;

const FaceDesign& faceDesign(FaceId face);
inline measure::Instrument faceInstrument(FaceId face) { return faceDesign(face).instrument; }

}  // namespace render
