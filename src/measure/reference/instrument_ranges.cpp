#include "measure/reference/instrument_ranges.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

namespace measure {

namespace {

constexpr double kTop = std::numeric_limits<double>::infinity();

const std::array<MeasuringRange, 7> kAmmeterRanges{{
    {10, 70.0L, 50.0L},             // 10 mA
    {30, 23.3433L, 50.0L},          // 30 mA
    {300, 2.33433L, 50.0L},         // 300 mA
    {1000, 0.701L, 50.0L},          // 1 A
    {3000, 0.233433L, 50.0L},       // 3 A
    {10000, 0.0701L, 50.0L},        // 10 A
    {kTop, 0.0233433L, 50.0L},      // 30 A
}};

// The 1 V range uses the mapping of every other range and of its own face
// (0.3 V at x = 260, 0.5 V at x = 400), so the pointer agrees with the
// numerals and with the digital readout.
const std::array<MeasuringRange, 5> kVoltageRanges{{
    {300, 2.33433L, 50.0L},         // 300 mV
    {1000, 0.701L, 50.0L},          // 1 V
    {3000, 0.233433L, 50.0L},       // 3 V
    {10000, 0.0701L, 50.0L},        // 10 V
    {kTop, 0.0233433L, 50.0L},      // 30 V
}};

}  // namespace

std::span<const MeasuringRange> measuringRanges(Instrument instrument) {
    if (instrument == Instrument::Ammeter) return kAmmeterRanges;
    return kVoltageRanges;
}

int rangeOf(Instrument instrument, double reading) {
    const auto ranges = measuringRanges(instrument);
    for (std::size_t i = 0; i + 1 < ranges.size(); ++i) {
        if (reading < ranges[i].upperBound) return static_cast<int>(i);
    }
    return static_cast<int>(ranges.size()) - 1;
}

std::int32_t pointerPosition(const MeasuringRange& range, double reading) {
    // The default rounding mode (to nearest, ties to even) is never changed here.
    const long double x = std::nearbyintl(static_cast<long double>(reading) * range.slope + range.offset);
    if (std::isnan(x)) return 0;
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    if (x <= lowest) return lowest;
    if (x >= highest) return highest;
    return static_cast<std::int32_t>(x);
}

}  // namespace measure
