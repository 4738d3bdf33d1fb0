#pragma once
// State that the simulated driver shares with its open streams: devices,
// signal source, fault rules, the played log and the counts tests read.
#include "platform/wave/clocked/clocked_input_stream.h"
#include "platform/wave/sim/sim_driver.h"

#include <array>

namespace platform::wave::sim {

// The simulated streams are the clocked ones with the sim driver's faults on top.
using clocked::ClockedInputStream;
using clocked::ClockedOutputStream;
using clocked::ClockedSource;

struct SimFaultRule {
    MMRESULT code = MMSYSERR_NOERROR;
    int after = 0;
    int times = 0;  // negative: for ever
};

// What the simulated input device records: the driver's signal source, or
// silence while there is none.
class SimSignal final : public ClockedSource {
public:
    void fill(const WAVEFORMATEX& format, Nanoseconds origin, std::int64_t firstFrame, char* data,
              std::size_t frames) override;

    SignalSource source;
};

struct SimState {
    std::vector<SimDevice> inputs;
    std::vector<SimDevice> outputs;
    std::vector<int> inputOpens;
    std::vector<int> outputOpens;
    SimSignal signal;
    std::array<SimFaultRule, static_cast<std::size_t>(SimCall::Count)> faults{};
    bool keepPlayed = true;
    std::vector<PlayedBuffer> played;
    std::array<int, 2> openStreams{};
    std::array<int, 2> heldBuffers{};
    int opens = 0;  // streams opened so far, both directions

    // The result injected for this call, or MMSYSERR_NOERROR.
    MMRESULT takeFault(SimCall call);

    static std::size_t index(Direction d) { return d == Direction::Input ? 0 : 1; }
};

}  // namespace platform::wave::sim
