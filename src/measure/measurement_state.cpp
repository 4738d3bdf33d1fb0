#include "measure/measurement_state.h"

#include <cstddef>

namespace measure {
namespace {

struct InstrumentEntry {
    double MeasurementState::*reading;
    std::span<std::int32_t> (*faceFlags)(MeasurementState&);
    std::int32_t MeasurementState::*analogOff;
    std::int32_t MeasurementState::*pointerX;
    std::int32_t MeasurementState::*pointerDrawnX;
};

// In the order of Instrument.
const InstrumentEntry kInstruments[] = {
    // Ammeter
    {&MeasurementState::AmmeterValue, [](MeasurementState& s) { return std::span<std::int32_t>(s.AmmeterFaceFlags); },
     &MeasurementState::AmmeterAnalogOff, &MeasurementState::AmmeterPointerX,
     &MeasurementState::AmmeterPointerDrawnX},
    // Voltmeter
    {&MeasurementState::VoltmeterValue,
     [](MeasurementState& s) { return std::span<std::int32_t>(s.VoltmeterFaceFlags); },
     &MeasurementState::VoltmeterAnalogOff, &MeasurementState::VoltmeterPointerX,
     &MeasurementState::VoltmeterPointerDrawnX},
    // Source
    {&MeasurementState::SourceValue, [](MeasurementState& s) { return std::span<std::int32_t>(s.SourceFaceFlags); },
     &MeasurementState::SourceAnalogOff, &MeasurementState::SourcePointerX, &MeasurementState::SourcePointerDrawnX},
};

}  // namespace

InstrumentFields instrumentFields(MeasurementState& state, Instrument instrument) {
    const InstrumentEntry& entry = kInstruments[static_cast<std::size_t>(instrument)];
    return {state.*entry.reading, entry.faceFlags(state), state.*entry.analogOff, state.*entry.pointerX,
            state.*entry.pointerDrawnX};
}

double readingOf(const MeasurementState& state, Instrument instrument) {
    return state.*kInstruments[static_cast<std::size_t>(instrument)].reading;
}

}  // namespace measure
