#include "platform/wave/alsa/alsa_pcm.h"

#include "platform/wave/device_status.h"

#include <atomic>
#include <cstdio>
#include <memory>

namespace platform::wave::alsa {
namespace {

// Generous rings, as a busy machine can keep the device thread waiting for a
// while. A capture ring adds no delay (frames are read as soon as they come).
// A playback ring adds none either: its frames are still the player's until
// they have been played, so they count in its queue.
//
// Each period is a wake-up of the device thread and of the sound server's
// client thread: as long as the stream allows. A capture period of about the
// recorder's block (2500 frames at 44.1 kHz) wakes once per block. A playback
// ring of a second holds all that a player queues (the generator's four
// buffers are 0.74 s), so each buffer goes to the device in one write as soon
// as it is queued, and the thread wakes otherwise only to hand back a buffer
// that has been played; the long period keeps the server's requests few.
constexpr unsigned kCaptureRingMicroseconds = 500'000;
constexpr unsigned kPlaybackRingMicroseconds = 1'000'000;
constexpr unsigned kCapturePeriodMicroseconds = 56'700;
constexpr unsigned kPlaybackPeriodMicroseconds = 250'000;

struct HwParamsFree {
    void operator()(snd_pcm_hw_params_t* p) const { snd_pcm_hw_params_free(p); }
};
struct SwParamsFree {
    void operator()(snd_pcm_sw_params_t* p) const { snd_pcm_sw_params_free(p); }
};

class Setup {
public:
    Setup(Direction direction, const std::string& name, const WAVEFORMATEX& format, snd_pcm_t* pcm)
        : direction_(direction), name_(name), format_(format), pcm_(pcm) {}

    AlsaFailure run(AlsaPcmSetup& out) {
        snd_pcm_hw_params_t* rawHw = nullptr;
        snd_pcm_sw_params_t* rawSw = nullptr;
        if (int e = snd_pcm_hw_params_malloc(&rawHw); e < 0) return fail(AlsaStep::Format, e, "");
        std::unique_ptr<snd_pcm_hw_params_t, HwParamsFree> hw(rawHw);
        if (int e = snd_pcm_sw_params_malloc(&rawSw); e < 0) return fail(AlsaStep::Format, e, "");
        std::unique_ptr<snd_pcm_sw_params_t, SwParamsFree> sw(rawSw);

        if (int e = snd_pcm_hw_params_any(pcm_, hw.get()); e < 0) return fail(AlsaStep::Format, e, "");
        if (int e = snd_pcm_hw_params_set_access(pcm_, hw.get(), SND_PCM_ACCESS_RW_INTERLEAVED); e < 0)
            return fail(AlsaStep::Format, e, "interleaved access not supported");
        const snd_pcm_format_t sampleFormat = format_.wBitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
        if (int e = snd_pcm_hw_params_set_format(pcm_, hw.get(), sampleFormat); e < 0)
            return fail(AlsaStep::Format, e, std::to_string(format_.wBitsPerSample) + "-bit samples not supported");
        if (int e = snd_pcm_hw_params_set_channels(pcm_, hw.get(), format_.nChannels); e < 0)
            return fail(AlsaStep::Format, e, std::to_string(format_.nChannels) + " channels not supported");
        note(snd_pcm_hw_params_set_rate_resample(pcm_, hw.get(), 1), "resampling");
        if (int e = snd_pcm_hw_params_set_rate(pcm_, hw.get(), format_.nSamplesPerSec, 0); e < 0)
            return fail(AlsaStep::Format, e, std::to_string(format_.nSamplesPerSec) + " Hz not supported");

        // Ring and period are wishes; the device grants what it can.
        const bool input = direction_ == Direction::Input;
        unsigned ring = input ? kCaptureRingMicroseconds : kPlaybackRingMicroseconds;
        unsigned period = input ? kCapturePeriodMicroseconds : kPlaybackPeriodMicroseconds;
        int dir = 0;
        note(snd_pcm_hw_params_set_buffer_time_near(pcm_, hw.get(), &ring, &dir), "the ring length");
        dir = 0;
        note(snd_pcm_hw_params_set_period_time_near(pcm_, hw.get(), &period, &dir), "the period length");
        if (int e = snd_pcm_hw_params(pcm_, hw.get()); e < 0) return fail(AlsaStep::Format, e, "");

        if (int e = snd_pcm_hw_params_get_buffer_size(hw.get(), &out.bufferFrames); e < 0)
            return fail(AlsaStep::Format, e, "no ring length");
        dir = 0;
        if (int e = snd_pcm_hw_params_get_period_size(hw.get(), &out.periodFrames, &dir); e < 0)
            return fail(AlsaStep::Format, e, "no period length");
        out.canPause = snd_pcm_hw_params_can_pause(hw.get()) != 0;
        if (out.periodFrames == 0) out.periodFrames = 1;
        if (out.bufferFrames < out.periodFrames) out.bufferFrames = out.periodFrames;

        if (int e = snd_pcm_sw_params_current(pcm_, sw.get()); e < 0) return fail(AlsaStep::Format, e, "");
        note(snd_pcm_sw_params_set_avail_min(pcm_, sw.get(), out.periodFrames), "the wake-up size");
        if (direction_ == Direction::Output) {
            // Start once the ring is nearly full; a short last stretch is
            // started by the stream itself.
            note(snd_pcm_sw_params_set_start_threshold(pcm_, sw.get(), out.bufferFrames - out.periodFrames + 1),
                 "the start threshold");
        }
        if (int e = snd_pcm_sw_params(pcm_, sw.get()); e < 0) return fail(AlsaStep::Format, e, "");
        return {};
    }

private:
    // A wish the device did not grant: it works with its own choice; said once.
    void note(int err, const char* what) {
        if (err >= 0) return;
        static std::atomic<unsigned> said{0};
        if (said.fetch_add(1) > 0) return;
        std::fprintf(stderr, "audio: the ALSA %s device '%s' would not set %s (%s); using its own\n",
                     direction_ == Direction::Input ? "capture" : "playback", name_.c_str(), what, snd_strerror(err));
    }

    AlsaFailure fail(AlsaStep step, int err, const std::string& what) {
        std::string detail = describeFormat(format_);
        if (!what.empty()) detail += " (" + what + ")";
        return alsaFailure(step, direction_, name_, err, detail);
    }

    Direction direction_;
    const std::string& name_;
    const WAVEFORMATEX& format_;
    snd_pcm_t* pcm_;
};

}  // namespace

AlsaFailure openAlsaPcm(Direction direction, const std::string& name, const WAVEFORMATEX& format,
                        snd_pcm_t*& pcm, AlsaPcmSetup& setup) {
    pcm = nullptr;
    snd_pcm_t* opened = nullptr;
    const snd_pcm_stream_t stream = direction == Direction::Input ? SND_PCM_STREAM_CAPTURE : SND_PCM_STREAM_PLAYBACK;
    if (int e = snd_pcm_open(&opened, name.c_str(), stream, SND_PCM_NONBLOCK); e < 0)
        return alsaFailure(AlsaStep::Open, direction, name, e);
    AlsaFailure f = Setup(direction, name, format, opened).run(setup);
    if (f.code != MMSYSERR_NOERROR) {
        snd_pcm_close(opened);
        return f;
    }
    pcm = opened;
    return {};
}

}  // namespace platform::wave::alsa
