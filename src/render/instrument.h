#pragma once

namespace render {

// The three band meters of the window: the ammeter (top row), the voltmeter
// (middle row) and the voltmeter of the source (bottom row).
enum class Instrument { Ammeter, Voltmeter, Source };

}  // namespace render
