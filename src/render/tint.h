#pragma once

#include "measure/instrument.h"

#include <QRgb>

namespace render {

// A colour family built from one intensity v.
enum class Tint {
    Yellow,  // (v, v, 0)
    Cyan,    // (0, v, v)
    Grey,    // (v, v, v)
};

// The tint of each instrument: ammeter yellow, voltmeter cyan, source grey.
Tint tintOf(measure::Instrument instrument);

// The colour of intensity v in a tint. Only the low byte of v counts (v is
// taken modulo 256, as 0..255), as with any colour byte built from an integer.
QRgb shade(Tint tint, int v);

// Shorthands for the colours the instruments use.
inline constexpr QRgb kBlack = 0xFF000000u;
inline constexpr QRgb kYellow = 0xFFFFFF00u;
inline QRgb red(int v) { return qRgb(v & 0xFF, 0, 0); }

}  // namespace render
