#pragma once

namespace measure {

// The three instruments of the window: the ammeter (top row), the voltmeter
// (middle row) and the voltmeter of the source (bottom row).
enum class Instrument { Ammeter, Voltmeter, Source };

}  // namespace measure
