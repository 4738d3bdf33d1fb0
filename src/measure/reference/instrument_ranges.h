#pragma once
// The measuring ranges of the three analog instruments and the pointer
// position on each range's face. Range index 0 is the lowest range.
#include "measure/instrument.h"

#include <cstdint>
#include <span>

namespace measure {

struct MeasuringRange {
    double upperBound;   // a reading below it (and not below a lower range's) is in this range
    long double slope;   // pointer x = nearest(reading * slope + offset), in extended precision
    long double offset;
};

// Ammeter: 10 mA, 30 mA, 300 mA, 1 A, 3 A, 10 A, 30 A (reading in mA).
// Voltmeter and source: 300 mV, 1 V, 3 V, 10 V, 30 V (reading in mV).
// Every range maps 0 to x = 50 and its full scale to about x = 750, the same
// mapping its face is drawn with.
std::span<const MeasuringRange> measuringRanges(Instrument instrument);

// The range a reading falls in: the first whose upper bound is above it (a
// reading on a bound belongs to the upper range). A reading past the top
// range's bound, or not a number, gets the top range.
int rangeOf(Instrument instrument, double reading);

// nearest(reading * slope + offset), an exact half to the even neighbour.
// Not bounded to the image: a reading past full scale gives x past 750. A
// result outside 32 bits is held at the 32-bit limits; not a number gives 0.
std::int32_t pointerPosition(const MeasuringRange& range, double reading);

}  // namespace measure
