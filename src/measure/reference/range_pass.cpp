#include "measure/reference/range_pass.h"

#include "measure/calibration/calibration.h"

#include <algorithm>
#include <cstddef>

namespace measure {

void RangePass(MeasurementState& state, Instrument instrument, const InstrumentDrawing& drawing) {
    if (instrument == Instrument::Source) {
        // The source shows the generator's nominal voltage: amplitude / 7 mV,
        // divided in extended precision and stored as a double. With a card's
        // profile: the calibrated RMS voltage of the output.
        if (state.Calibration)
            state.SourceValue = static_cast<double>(
                calibratedSourceMillivolts(state.GeneratorAmplitude, state.Calibration->SourceGain));
        else
            state.SourceValue = static_cast<double>(static_cast<long double>(state.GeneratorAmplitude) / 7);
    }
    const InstrumentFields fields = instrumentFields(state, instrument);
    const double reading = fields.reading;
    const int range = rangeOf(instrument, reading);
    const auto index = static_cast<std::size_t>(range);

    if (fields.faceFlags[index] == 0 && fields.analogOff == 0 && drawing.drawFace) drawing.drawFace(range);
    fields.pointerX = pointerPosition(measuringRanges(instrument)[index], reading);
    std::fill(fields.faceFlags.begin(), fields.faceFlags.end(), 0);
    fields.faceFlags[index] = 1;
    if (fields.analogOff == 0 && drawing.drawPointer) drawing.drawPointer();
    fields.pointerDrawnX = fields.pointerX;
}

void VoltmeterPass(MeasurementState& state, const InstrumentDrawing& drawing) {
    RangePass(state, Instrument::Voltmeter, drawing);
}

void AmmeterPass(MeasurementState& state, const InstrumentDrawing& drawing) {
    RangePass(state, Instrument::Ammeter, drawing);
}

void SourcePass(MeasurementState& state, const InstrumentDrawing& drawing) {
    RangePass(state, Instrument::Source, drawing);
}

}  // namespace measure
