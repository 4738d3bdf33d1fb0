#pragma once
// AlsaStream: one open ALSA PCM with its own thread.
//
// The UI thread queues buffers (submit) and changes what it wants of the
// device (start, pause, reset, close); it never waits for the device thread
// longer than a short bound. The bookkeeping of the buffers is done at once
// under the queue's lock (a reset or an input pause gives the buffers back
// before it returns, whatever the device is doing); the ALSA calls that can
// block on a sound server (start, pause, drop, prepare, open, close) are made
// by the device thread alone, when it can.
//
// The device thread sleeps in poll() on the PCM's descriptors and a wake-up
// eventfd and moves frames between the device and the queued buffers in
// whatever pieces the device grants, so buffers of any size fill (capture) or
// drain (playback) in order. A capture buffer goes back through the sink when
// it is full; a playback buffer when the device has played all of it, so that
// the frames still in the device's ring are never dropped by a close after the
// last buffer came back, and a pause without hardware support can drop the
// ring and write again what it held.
//
// Over- and underruns are recovered here (snd_pcm_recover), counted and shown
// on stderr (device_status.h). A device that goes away (unplugged, sound
// server gone, or no progress for several seconds) is closed and reopened
// about twice a second until it is back; the stream stays open meanwhile,
// keeps its buffers, and resumes where it was (no data is invented for the
// gap). The outage and the return are reported through device_status.h.
//
// The hot path takes the queue's lock around each non-blocking transfer;
// nothing is allocated per buffer.
#include "platform/wave/alsa/alsa_pcm.h"

#include <memory>
#include <thread>

namespace platform::wave::alsa {

class AlsaDevice;

class AlsaStream final : public Stream {
public:
    // Takes over `pcm` (set up by openAlsaPcm) and starts the device thread.
    // Returns a failure (and closes the PCM) when the thread or its resources
    // cannot be had.
    static AlsaFailure create(Direction direction, std::string name, const WAVEFORMATEX& format,
                              snd_pcm_t* pcm, const AlsaPcmSetup& setup, bool hardwarePause, BufferSink& sink,
                              std::unique_ptr<Stream>& out);
    ~AlsaStream() override;

    MMRESULT submit(WAVEHDR& header) override;
    MMRESULT start() override;
    MMRESULT pause() override;
    void reset() override;
    void close() override;

    explicit AlsaStream(std::shared_ptr<AlsaDevice> device);

private:
    std::shared_ptr<AlsaDevice> device_;  // shared with the device thread
    std::thread thread_;
    bool closed_ = false;
};

}  // namespace platform::wave::alsa
