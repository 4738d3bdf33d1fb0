#pragma once
// The recorder's buffer-filled handler: copies a recorded block of 16-bit
// little-endian stereo PCM into Samples1.
#include "measure/measurement_state.h"

#include <cstdint>

namespace measure {

// Copies Size div 2 sign-extended samples into Samples1 (an odd last byte is
// ignored); entries beyond the block keep their contents. A block larger than
// Samples1 is cut to the array. Size is not changed. Always returns true.
bool AudioIn1BufferFilled(MeasurementState& state, const char* Buffer, std::int32_t& Size);

}  // namespace measure
