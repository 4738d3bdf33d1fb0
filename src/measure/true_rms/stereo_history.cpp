#include "measure/true_rms/stereo_history.h"

#include <algorithm>

namespace measure {

StereoHistory::StereoHistory(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1)), left_(2 * capacity_), right_(2 * capacity_) {}

void StereoHistory::clear() {
    pos_ = 0;
    size_ = 0;
    std::fill(left_.begin(), left_.end(), 0.0f);
    std::fill(right_.begin(), right_.end(), 0.0f);
}

}  // namespace measure
