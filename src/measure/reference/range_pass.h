#pragma once
// The range passes of the three analog instruments: choose the range the
// reading is in, draw that range's face when the face memory says it is not
// the one chosen last, place the pointer and have it moved.
//
// Drawing belongs to the window; a pass asks for it through callbacks:
//   drawFace(range)  draws the face of range `range` (0 = lowest range);
//   drawPointer()    the instrument's pointer routine: reads PointerX and
//                    PointerDrawnX of the instrument from the state and draws
//                    only when they differ.
// An empty callback draws nothing.
#include "measure/reference/instrument_ranges.h"
#include "measure/measurement_state.h"

#include <cstdint>
#include <functional>
#include <span>

namespace measure {

struct InstrumentDrawing {
    std::function<void(int range)> drawFace;
    std::function<void()> drawPointer;
};

// One pass:
// 1. Source only: SourceValue := GeneratorAmplitude / 7 (mV); with a card's
//    profile, GeneratorAmplitude * SourceGain * 3.5 / 22 (mV).
// 2. Choose the range of the reading.
// 3. If the range's flag is 0 and the analog display is on, drawFace(range).
// 4. PointerX := the range's pointer position for the reading.
// 5. The range's flag := 1, every other flag (the spare too) := 0, also while
//    the analog display is off, so the face memory follows the reading.
// 6. If the analog display is on, drawPointer().
// 7. PointerDrawnX := PointerX.
void RangePass(MeasurementState& state, Instrument instrument, const InstrumentDrawing& drawing);

void VoltmeterPass(MeasurementState& state, const InstrumentDrawing& drawing);
void AmmeterPass(MeasurementState& state, const InstrumentDrawing& drawing);
void SourcePass(MeasurementState& state, const InstrumentDrawing& drawing);

}  // namespace measure
