#include "platform/wave/file/file_driver.h"

#include "platform/wave/file/file_wav_source.h"
#include "platform/wave/clocked/clocked_input_stream.h"
#include "platform/wave/clocked/clocked_output_stream.h"

#include <array>

namespace platform::wave::file {

struct FileDriver::Shared {
    std::unique_ptr<FileWavSource> source;
    std::array<bool, 2> open{};  // input, output
};

std::shared_ptr<FileDriver> FileDriver::create(const FileDriverConfig& config, std::string& error,
                                               VirtualClock& clock) {
    auto source = FileWavSource::open(config.inputWav, config.loop, error);
    if (!source) return nullptr;
    return std::make_shared<FileDriver>(config, std::move(source), clock);
}

FileDriver::FileDriver(const FileDriverConfig& config, std::unique_ptr<FileWavSource> source, VirtualClock& clock)
    : config_(config), clock_(clock), shared_(std::make_shared<Shared>()) {
    shared_->source = std::move(source);
}

FileDriver::~FileDriver() = default;

UINT FileDriver::deviceCount(Direction /*direction*/) const { return 1; }

std::string FileDriver::deviceName(Direction direction, UINT device) const {
    if (device != 0 && device != WAVE_MAPPER) return {};
    return direction == Direction::Input ? "WAV file '" + config_.inputWav + "'" : "Virtual speakers";
}

MMRESULT FileDriver::open(Direction direction, UINT device, const WAVEFORMATEX& format, BufferSink& sink,
                          std::unique_ptr<Stream>& stream) {
    if (device != 0 && device != WAVE_MAPPER) return MMSYSERR_BADDEVICEID;
    const std::size_t slot = direction == Direction::Input ? 0 : 1;
    if (shared_->open[slot]) return MMSYSERR_ALLOCATED;
    shared_->open[slot] = true;
    auto onClose = [shared = shared_, slot] { shared->open[slot] = false; };
    if (direction == Direction::Input)
        stream = std::make_unique<clocked::ClockedInputStream>(clock_, format, sink, *shared_->source, onClose);
    else
        stream = std::make_unique<clocked::ClockedOutputStream>(clock_, format, sink, nullptr, onClose);
    return MMSYSERR_NOERROR;
}

}  // namespace platform::wave::file
