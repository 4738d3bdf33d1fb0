#pragma once
// A setting typed for the generator, as a track bar position: the source
// voltage for TrackBar1 (in the 20 mV steps its readout shows) and the
// frequency for TrackBar2 (whole hertz), and what of the typed value could
// not be honoured.
#include <cstdint>

namespace generator {

enum class EntryLimit {
    None,     // set as typed
    Below,    // below the lowest setting: the lowest is set
    Above,    // above the highest: the highest is set
    Between,  // between two settings: the nearest is set
};

struct BarEntry {
    std::int32_t position = 0;
    EntryLimit limit = EntryLimit::None;
};

// The source voltage a position gives, as its readout shows it (to 20 mV):
// `sourceGain` is 1 for the nominal voltage, a profile's SourceGain for the
// calibrated one.
long double ShownSourceMillivolts(std::int32_t position, long double sourceGain);

// The position of TrackBar1 (0 .. highestPosition) whose shown voltage is the
// nearest to `millivolts`.
BarEntry AmplitudeEntry(long double millivolts, long double sourceGain, std::int32_t highestPosition);

// The position of TrackBar2 for `hz`, in whole hertz within lowest .. highest.
BarEntry FrequencyEntry(double hz, std::int32_t lowest, std::int32_t highest);

}  // namespace generator
