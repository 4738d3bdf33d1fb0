#include "platform/wave/alsa/alsa_stream.h"

#include "platform/wave/alsa/alsa_capture.h"
#include "platform/wave/alsa/alsa_playback.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <system_error>

namespace platform::wave::alsa {

AlsaFailure AlsaStream::create(Direction direction, std::string name, const WAVEFORMATEX& format,
                               snd_pcm_t* pcm, const AlsaPcmSetup& setup, bool hardwarePause, BufferSink& sink,
                               std::unique_ptr<Stream>& out) {
    const std::string kind = direction == Direction::Input ? "capture" : "playback";
    const int wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0) {
        snd_pcm_close(pcm);
        return {MMSYSERR_NOMEM, "Cannot create the wake-up descriptor of the ALSA " + kind + " device '" + name + "'"};
    }
    std::shared_ptr<AlsaDevice> device;
    if (direction == Direction::Input)
        device = std::make_shared<AlsaCapture>(name, format, pcm, setup, sink, wakeFd);
    else
        device = std::make_shared<AlsaPlayback>(name, format, pcm, setup, hardwarePause, sink, wakeFd);
    auto stream = std::make_unique<AlsaStream>(device);
    try {
        stream->thread_ = std::thread([device] { device->run(); });
    } catch (const std::system_error& e) {
        stream->closed_ = true;  // the device (and its PCM) goes with the last reference
        return {MMSYSERR_NOMEM, "Cannot start the thread of the ALSA " + kind + " device '" + name + "': " + e.what()};
    }
    out = std::move(stream);
    return {};
}

AlsaStream::AlsaStream(std::shared_ptr<AlsaDevice> device) : device_(std::move(device)) {}

AlsaStream::~AlsaStream() { close(); }

MMRESULT AlsaStream::submit(WAVEHDR& header) { return device_->submit(header); }

MMRESULT AlsaStream::start() { return device_->setRunning(true); }

MMRESULT AlsaStream::pause() { return device_->setRunning(false); }

void AlsaStream::reset() { device_->reset(); }

// A device thread stuck in the sound library finishes on its own; it holds
// no buffer and never calls the sink after quit().
void AlsaStream::close() {
    if (closed_) return;
    closed_ = true;
    if (device_->quit())
        thread_.join();
    else
        thread_.detach();
}

}  // namespace platform::wave::alsa
