#pragma once
// TeeDriver: wraps any driver and keeps what its output devices play in a WAV
// file (--output-wav FILE): 16-bit PCM at the stream's rate and channel count,
// finalised when the stream closes (tee_wav_file.h). Everything else is the
// wrapped driver's.
#include "platform/wave/driver.h"

#include <memory>
#include <string>

namespace platform::wave::file {

struct TeeConfig {
    std::string outputWav;  // --output-wav
};

class TeeWavFile;

class TeeDriver final : public Driver {
public:
    TeeDriver(std::shared_ptr<Driver> inner, TeeConfig config);
    ~TeeDriver() override;

    std::string name() const override { return inner_->name(); }
    UINT deviceCount(Direction direction) const override { return inner_->deviceCount(direction); }
    std::string deviceName(Direction direction, UINT device) const override {
        return inner_->deviceName(direction, device);
    }
    MMRESULT open(Direction direction, UINT device, const WAVEFORMATEX& format, BufferSink& sink,
                  std::unique_ptr<Stream>& stream) override;

    const std::shared_ptr<Driver>& inner() const { return inner_; }
    // Frames written into the file so far.
    std::int64_t framesWritten() const;

private:
    std::shared_ptr<Driver> inner_;
    std::shared_ptr<TeeWavFile> file_;
};

}  // namespace platform::wave::file
