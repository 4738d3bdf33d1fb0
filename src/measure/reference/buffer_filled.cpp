#include "measure/reference/buffer_filled.h"

#include <algorithm>

namespace measure {

bool AudioIn1BufferFilled(MeasurementState& state, const char* Buffer, std::int32_t& Size) {
    if (Buffer == nullptr || Size <= 0) return true;
    const std::int32_t m = std::min<std::int32_t>(Size / 2, kWorkingArraySize);
    const auto* bytes = reinterpret_cast<const unsigned char*>(Buffer);
    for (std::int32_t k = 0; k < m; ++k) {
        const auto lo = static_cast<std::uint16_t>(bytes[2 * k]);
        const auto hi = static_cast<std::uint16_t>(bytes[2 * k + 1]);
        state.Samples1[k] = static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
    }
    return true;
}

}  // namespace measure
