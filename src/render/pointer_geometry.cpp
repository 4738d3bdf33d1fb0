#include "render/pointer_geometry.h"

namespace render {

std::int64_t halfRoundedToEven(std::int64_t n) {
    // Floor division by 2 (n >> 1 is floor on two's complement), then an odd n
    // lies exactly halfway between q and q + 1: take the even one.
    const std::int64_t q = n >> 1;
    if ((n & 1) == 0)
        return q;
    return (q & 1) == 0 ? q : q + 1;
}

EraseRange eraseRange(std::int32_t drawnX) {
    const std::int64_t d = drawnX;
    return {halfRoundedToEven(d + 2 * 18), halfRoundedToEven(d + 2 * 60)};
}

}  // namespace render
