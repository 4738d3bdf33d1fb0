#include "render/tint.h"

namespace render {

Tint tintOf(measure::Instrument instrument) {
    switch (instrument) {
    case measure::Instrument::Ammeter: return Tint::Yellow;
    case measure::Instrument::Voltmeter: return Tint::Cyan;
    case measure::Instrument::Source: return Tint::Grey;
    }
    return Tint::Grey;
}

QRgb shade(Tint tint, int v) {
    const int b = v & 0xFF;  // two's complement: the same as v mod 256 taken as 0..255
    switch (tint) {
    case Tint::Yellow: return qRgb(b, b, 0);
    case Tint::Cyan: return qRgb(0, b, b);
    case Tint::Grey: return qRgb(b, b, b);
    }
    return qRgb(b, b, b);
}

}  // namespace render
