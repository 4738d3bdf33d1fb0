#pragma once
// RateConverter: a band-limited sample-rate converter (libsamplerate, sinc
// interpolation) for an endless stream of stereo frames pulled from a
// supplier, so that what lies above the new rate's Nyquist frequency is
// filtered out, as a card's input filter would, instead of folding down.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::wave::file {

class RateConverter {
public:
    // Writes the next `frames` input frames, two interleaved channels.
    using Supply = std::function<void(float* data, std::size_t frames)>;

    // From `inputRate` to `outputRate`; null with the reason in `error`.
    static std::unique_ptr<RateConverter> create(int inputRate, int outputRate, Supply supply, std::string& error);
    ~RateConverter();
    RateConverter(const RateConverter&) = delete;
    RateConverter& operator=(const RateConverter&) = delete;

    int outputRate() const { return outputRate_; }
    // Writes the next `frames` output frames (two interleaved channels); false
    // with the reason in `error` when the conversion fails.
    bool read(float* data, std::size_t frames, std::string& error);

private:
    RateConverter(int inputRate, int outputRate, Supply supply);
    static long pull(void* self, float** data);

    void* state_ = nullptr;  // SRC_STATE
    double ratio_;
    int outputRate_;
    Supply supply_;
    std::vector<float> input_;
};

}  // namespace platform::wave::file
