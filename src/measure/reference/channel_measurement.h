#pragma once
// Measuring the two channels of the last recorded block.
//
// Each pass takes n = bufferSize div 2 entries of its channel from Samples1
// (left: 0, 2, 4, ...; right: 1, 3, 5, ...), smooths them in place in its
// working array with a first-order low-pass filter, takes the root mean square
// of the smoothed values 1..n, calibrates it into the instrument's reading and
// returns the text of the instrument's digital readout.
//
// With the recorder's block of 10000 bytes, n = 5000: the channel's 2500
// samples of the block and 2500 zeros from the untouched rest of Samples1; the
// calibration holds for exactly this mix. The filter's last step reaches
// F[n], one entry past the copied ones, which holds what the previous pass
// left there.
//
// Bounds: n is cut to kMaxChannelEntries (22050), so that Samples1[2k + 1] and
// F[n] stay inside their arrays whatever bufferSize is; the mean is then taken
// over the entries actually used. A bufferSize below 2 gives n <= 0: nothing
// is read and the reading is 0.
#include "measure/measurement_state.h"

#include <cstdint>
#include <string>

namespace measure {

inline constexpr std::int32_t kMaxChannelEntries = kWorkingArraySize / 2;

// n for a recorder block of bufferSize bytes, cut to the arrays.
std::int32_t channelEntryCount(std::int32_t bufferSize);

// Right channel -> VoltmeterValue (mV); returns Panel2's caption ("3.28 V").
std::string MeasureVoltage(MeasurementState& state, std::int32_t bufferSize);

// Left channel -> AmmeterValue (mA); returns Panel3's caption ("  7", "1.23 A").
std::string MeasureCurrent(MeasurementState& state, std::int32_t bufferSize);

}  // namespace measure
