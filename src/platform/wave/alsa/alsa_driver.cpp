#include "platform/wave/alsa/alsa_driver.h"

#include "platform/alsa/alsa_library_messages.h"
#include "platform/wave/alsa/alsa_stream.h"
#include "platform/wave/device_status.h"

namespace platform::wave::alsa {

AlsaDriver::AlsaDriver(AlsaConfig config) : config_(std::move(config)) { platform::alsa::quietAlsaLibrary(); }

const std::string& AlsaDriver::pcmName(Direction direction) const {
    return direction == Direction::Input ? config_.captureDevice : config_.playbackDevice;
}

UINT AlsaDriver::deviceCount(Direction /*direction*/) const { return 1; }

std::string AlsaDriver::deviceName(Direction direction, UINT device) const {
    if (device != 0 && device != WAVE_MAPPER) return {};
    return "ALSA " + std::string(direction == Direction::Input ? "capture" : "playback") + " '" +
           pcmName(direction) + "'";
}

MMRESULT AlsaDriver::open(Direction direction, UINT device, const WAVEFORMATEX& format, BufferSink& sink,
                          std::unique_ptr<Stream>& stream) {
    if (device != 0 && device != WAVE_MAPPER) return MMSYSERR_BADDEVICEID;
    const std::string& name = pcmName(direction);
    snd_pcm_t* pcm = nullptr;
    AlsaPcmSetup setup;
    AlsaFailure f = openAlsaPcm(direction, name, format, pcm, setup);
    if (f.code == MMSYSERR_NOERROR)
        f = AlsaStream::create(direction, name, format, pcm, setup, config_.hardwarePause, sink, stream);
    if (f.code != MMSYSERR_NOERROR) {
        noteDeviceError(direction, f.text);
        return f.code;
    }
    return MMSYSERR_NOERROR;
}

}  // namespace platform::wave::alsa
