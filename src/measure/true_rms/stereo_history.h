#pragma once
// StereoHistory: the last frames of the two line-input channels, kept apart,
// in a ring allocated once. Every frame is stored twice, half a ring apart, so
// that the newest frames of a channel always lie one after another in memory,
// oldest first, and a pass over them needs no wrap-around.
#include <cstddef>
#include <vector>

namespace measure {

class StereoHistory {
public:
    // Keeps the last `capacity` frames (at least 1).
    explicit StereoHistory(std::size_t capacity);

    void push(float left, float right) {
        left_[pos_] = left;
        left_[pos_ + capacity_] = left;
        right_[pos_] = right;
        right_[pos_ + capacity_] = right;
        if (++pos_ == capacity_) pos_ = 0;
        if (size_ < capacity_) ++size_;
    }

    void clear();

    std::size_t capacity() const { return capacity_; }
    // Frames held: min(frames pushed, capacity).
    std::size_t size() const { return size_; }

    // The size() newest frames of each channel, oldest first.
    const float* left() const { return left_.data() + pos_ + capacity_ - size_; }
    const float* right() const { return right_.data() + pos_ + capacity_ - size_; }

private:
    std::size_t capacity_;
    std::size_t pos_ = 0;   // where the next frame goes
    std::size_t size_ = 0;
    std::vector<float> left_;
    std::vector<float> right_;
};

}  // namespace measure
