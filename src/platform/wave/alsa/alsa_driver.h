#pragma once
// AlsaDriver: real sound devices through ALSA. Each direction has one device,
// the PCM named in the configuration ("default" reaches the desktop's sound
// server, PulseAudio or PipeWire, where there is one); WAVE_MAPPER and device
// 0 both open it. Every open stream runs its own thread (alsa_stream.h).
//
// Failures come back as result codes; their full text (which device, what it
// refused, what happened) is the last device error of device_status.h, as are
// the over- and underrun counts. A device that goes away while a stream is
// open is reopened by the stream (alsa_stream.h); its outage and return are
// reported there too. The sound library's own messages are kept off stderr
// (alsa_library_messages.h).
#include "platform/wave/driver.h"

#include <string>

namespace platform::wave::alsa {

struct AlsaConfig {
    std::string captureDevice = "default";   // --input-device
    std::string playbackDevice = "default";  // --output-device
    // Pause playback with the device's own pause where it has one; without,
    // the device drops what it holds and the stream writes it again.
    bool hardwarePause = true;
};

class AlsaDriver final : public Driver {
public:
    explicit AlsaDriver(AlsaConfig config = {});

    std::string name() const override { return "alsa"; }
    UINT deviceCount(Direction direction) const override;
    std::string deviceName(Direction direction, UINT device) const override;
    MMRESULT open(Direction direction, UINT device, const WAVEFORMATEX& format, BufferSink& sink,
                  std::unique_ptr<Stream>& stream) override;

    const AlsaConfig& config() const { return config_; }

private:
    const std::string& pcmName(Direction direction) const;

    AlsaConfig config_;
};

}  // namespace platform::wave::alsa
