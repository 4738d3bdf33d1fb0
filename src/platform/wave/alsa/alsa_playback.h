#pragma once
// AlsaPlayback: an ALSA stream that plays the queued buffers (AlsaDevice holds
// what both directions share).
//
// The first written_ entries of the queue have been written to the device
// whole, the next one writeFrames_ of it; playedFrames_ of the head have been
// played; inRing_ frames have been written and not yet played. A buffer goes
// back when all of it has been played, or at a reset (with what of it was
// played).
#include "platform/wave/alsa/alsa_device.h"

namespace platform::wave::alsa {

class AlsaPlayback final : public AlsaDevice {
public:
    // Takes over `pcm` and the eventfd `wakeFd` (alsa_device.h). A playback
    // plays what is queued until it is paused; `hardwarePause`: pause with the
    // device's own pause where it has one.
    AlsaPlayback(std::string name, const WAVEFORMATEX& format, snd_pcm_t* pcm, const AlsaPcmSetup& setup,
                 bool hardwarePause, BufferSink& sink, int wakeFd);

private:
    // Shared, under lock_.
    bool waitsForBuffer() const override;
    void stopping() override;
    void returnQueued() override;
    void notePlayed(snd_pcm_uframes_t frames);
    void rewindToPlayed();
    Activity activity(bool go) const override;
    int playbackTimeout() const;
    void deviceLost() override;

    // Device thread.
    void applyRunning(bool wantRunning, MMRESULT& result) override;
    void pausePlayback();
    Next transfer(int& err) override;
    // Writes at most `room` frames from where entry written_ stands (through
    // scratch_), as many as the device takes: the frames written, 0 when it
    // takes none now or buffers went back since `returned`, or a negative
    // error code.
    snd_pcm_sframes_t writeFrames(snd_pcm_uframes_t room, std::uint64_t returned);
    bool recovered(bool xrun) override;
    void forgetDevice() override;

    const bool hardwarePause_;  // use the device's pause where it has one

    // Device thread.
    bool paused_ = false;  // the pause has been applied
    bool hardwarePaused_ = false;

    // Shared, under lock_.
    std::size_t written_ = 0;             // entries written whole
    snd_pcm_uframes_t writeFrames_ = 0;   // written of entry written_
    snd_pcm_uframes_t playedFrames_ = 0;  // played of the head
    snd_pcm_uframes_t inRing_ = 0;        // written, not yet played
};

}  // namespace platform::wave::alsa
