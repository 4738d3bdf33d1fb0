#include "platform/wave/file/rate_converter.h"

#include <samplerate.h>

namespace platform::wave::file {
namespace {

constexpr int kChannels = 2;
constexpr std::size_t kInputFrames = 4096;  // pulled from the supplier at a time

}  // namespace

std::unique_ptr<RateConverter> RateConverter::create(int inputRate, int outputRate, Supply supply,
                                                     std::string& error) {
    const double ratio = static_cast<double>(outputRate) / inputRate;
    if (src_is_valid_ratio(ratio) == 0) {
        error = "cannot convert " + std::to_string(inputRate) + " Hz to " + std::to_string(outputRate) + " Hz";
        return nullptr;
    }
    std::unique_ptr<RateConverter> converter(new RateConverter(inputRate, outputRate, std::move(supply)));
    int code = 0;
    // Medium quality: a pass band to 90 % of the lower Nyquist frequency, 97 dB of stop band.
    converter->state_ = src_callback_new(&RateConverter::pull, SRC_SINC_MEDIUM_QUALITY, kChannels, &code,
                                         converter.get());
    if (converter->state_ == nullptr) {
        error = src_strerror(code);
        return nullptr;
    }
    return converter;
}

RateConverter::RateConverter(int inputRate, int outputRate, Supply supply)
    : ratio_(static_cast<double>(outputRate) / inputRate), outputRate_(outputRate), supply_(std::move(supply)),
      input_(kInputFrames * kChannels) {}

RateConverter::~RateConverter() {
    if (state_ != nullptr) src_delete(static_cast<SRC_STATE*>(state_));
}

long RateConverter::pull(void* self, float** data) {
    auto* converter = static_cast<RateConverter*>(self);
    converter->supply_(converter->input_.data(), kInputFrames);
    *data = converter->input_.data();
    return static_cast<long>(kInputFrames);
}

bool RateConverter::read(float* data, std::size_t frames, std::string& error) {
    auto* state = static_cast<SRC_STATE*>(state_);
    std::size_t done = 0;
    while (done < frames) {
        const long got = src_callback_read(state, ratio_, static_cast<long>(frames - done), data + done * kChannels);
        if (got <= 0) {
            const int code = src_error(state);
            error = code != 0 ? src_strerror(code) : "the converter gave no frames";
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace platform::wave::file
