#pragma once
// SimDriver: the deterministic wave driver that stands in for the sound card
// in tests and in `--audio=sim`. Everything happens on a VirtualClock: a
// recording buffer comes back when its last frame has been "recorded", a
// played buffer when its last frame has been "played", and nothing moves until
// the clock is advanced. Recorded data comes from a pluggable signal source;
// played data is kept for inspection. Every refusable call can be made to fail.
#include "platform/virtual_clock.h"
#include "platform/wave/driver.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::wave::sim {

// A simulated device: the formats it accepts and how many streams may have it
// open at once.
struct SimDevice {
    std::string name;
    std::vector<DWORD> rates{8000, 11025, 16000, 22050, 32000, 44100, 48000, 96000};  // empty: any rate
    WORD maxChannels = 2;
    std::vector<WORD> bits{8, 16};
    int maxOpen = 1;
};

// The calls whose refusal can be injected.
enum class SimCall { Open, Prepare, Submit, Start, Pause, Count };

// Produces `frames` frames of recorded PCM in `format` into `data`; `firstFrame`
// counts frames from the moment recording started (waveInStart), so
// firstFrame / nSamplesPerSec is the time into the recording.
using SignalSource =
    std::function<void(const WAVEFORMATEX& format, std::int64_t firstFrame, char* data, std::size_t frames)>;

// One buffer as the simulated speaker played it.
struct PlayedBuffer {
    int stream = 0;              // which open of this driver played it: 1, 2, ...
    WAVEFORMATEX format;
    Nanoseconds start = 0;       // virtual time of its first frame
    Nanoseconds end = 0;         // virtual time it came back
    std::vector<char> data;      // the bytes played (whole frames)
    bool complete = true;        // false when a reset cut it short
};

struct SimState;

class SimDriver final : public Driver {
public:
    // One input and one output device with the default formats.
    explicit SimDriver(VirtualClock& clock = virtualClock());
    SimDriver(VirtualClock& clock, std::vector<SimDevice> inputs, std::vector<SimDevice> outputs);
    ~SimDriver() override;

    std::string name() const override { return "sim"; }
    UINT deviceCount(Direction direction) const override;
    std::string deviceName(Direction direction, UINT device) const override;
    MMRESULT open(Direction direction, UINT device, const WAVEFORMATEX& format, BufferSink& sink,
                  std::unique_ptr<Stream>& stream) override;

    // Recording data; the default source records silence.
    void setSignalSource(SignalSource source);

    // Let `after` calls of this kind succeed, then refuse the next `times`
    // (negative: every later call) with `code`. Replaces an earlier rule.
    void injectFault(SimCall call, MMRESULT code, int after = 0, int times = 1);
    void clearFaults();

    // Played buffers, oldest first (kept while keepPlayed is on: the default).
    const std::vector<PlayedBuffer>& played() const;
    void clearPlayed();
    void setKeepPlayed(bool keep);

    // Streams open now, and buffers held by them, per direction.
    int openStreams(Direction direction) const;
    int heldBuffers(Direction direction) const;

private:
    VirtualClock& clock_;
    std::shared_ptr<SimState> state_;
};

}  // namespace platform::wave::sim
