#pragma once
// AlsaCapture: an ALSA stream that records into the queued buffers
// (AlsaDevice holds what both directions share).
//
// The head of the queue is being recorded into; headFrames_ of it hold data.
// A buffer goes back when it is full, when the capture is stopped (with what
// it holds) and at a reset (with what it holds while recording, else empty).
#include "platform/wave/alsa/alsa_device.h"

namespace platform::wave::alsa {

class AlsaCapture final : public AlsaDevice {
public:
    // Takes over `pcm` and the eventfd `wakeFd` (alsa_device.h). A capture
    // records once it is started.
    AlsaCapture(std::string name, const WAVEFORMATEX& format, snd_pcm_t* pcm, const AlsaPcmSetup& setup,
                BufferSink& sink, int wakeFd);

private:
    // Shared, under lock_.
    bool waitsForBuffer() const override;
    void stopping() override;
    void returnQueued() override;
    Activity activity(bool go) const override;
    void deviceLost() override;

    // Device thread.
    void applyRunning(bool wantRunning, MMRESULT& result) override;
    Next transfer(int& err) override;
    bool recovered(bool xrun) override;
    void forgetDevice() override;

    // Device thread.
    bool recording_ = false;  // the PCM is started

    // Shared, under lock_.
    snd_pcm_uframes_t headFrames_ = 0;  // recorded into the head
};

}  // namespace platform::wave::alsa
