#include "platform/wave/file/tee_driver.h"

#include "platform/wave/file/tee_output_stream.h"
#include "platform/wave/file/tee_wav_file.h"

namespace platform::wave::file {

TeeDriver::TeeDriver(std::shared_ptr<Driver> inner, TeeConfig config)
    : inner_(std::move(inner)), file_(std::make_shared<TeeWavFile>(std::move(config.outputWav))) {}

TeeDriver::~TeeDriver() = default;

std::int64_t TeeDriver::framesWritten() const { return file_->framesWritten(); }

MMRESULT TeeDriver::open(Direction direction, UINT device, const WAVEFORMATEX& format, BufferSink& sink,
                         std::unique_ptr<Stream>& stream) {
    if (direction == Direction::Input) return inner_->open(direction, device, format, sink, stream);
    auto tee = std::make_unique<TeeOutputStream>(*file_, format, sink);
    const MMRESULT r = tee->openInner(*inner_, device);
    if (r != MMSYSERR_NOERROR) return r;
    stream = std::move(tee);
    return MMSYSERR_NOERROR;
}

}  // namespace platform::wave::file
