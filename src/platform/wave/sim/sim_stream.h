#pragma once
// SimStream: a stream of the simulated driver. The timing is that of the
// clocked stream it extends (ClockedInputStream or ClockedOutputStream); on
// top, every refusable call first asks the driver's fault rules, and the
// buffers the stream holds are counted for SimDriver::heldBuffers().
#include "platform/wave/sim/sim_state.h"

#include <memory>
#include <utility>

namespace platform::wave::sim {

template <class Clocked>
class SimStream : public Clocked {
public:
    // `args` go to the clocked stream's constructor.
    template <class... Args>
    SimStream(std::shared_ptr<SimState> state, Direction direction, Args&&... args)
        : Clocked(std::forward<Args>(args)...), state_(std::move(state)), slot_(SimState::index(direction)) {}

    // Closes while the hooks still reach this class and the state is held.
    ~SimStream() override { Clocked::close(); }

    MMRESULT prepare(WAVEHDR& header) override {
        if (const MMRESULT r = state_->takeFault(SimCall::Prepare)) return r;
        return Clocked::prepare(header);
    }
    MMRESULT submit(WAVEHDR& header) override {
        if (const MMRESULT r = state_->takeFault(SimCall::Submit)) return r;
        return Clocked::submit(header);
    }
    MMRESULT start() override {
        if (const MMRESULT r = state_->takeFault(SimCall::Start)) return r;
        return Clocked::start();
    }
    MMRESULT pause() override {
        if (const MMRESULT r = state_->takeFault(SimCall::Pause)) return r;
        return Clocked::pause();
    }

protected:
    void heldChanged(int change) override { state_->heldBuffers[slot_] += change; }

    SimState& state() { return *state_; }

private:
    std::shared_ptr<SimState> state_;
    std::size_t slot_;
};

}  // namespace platform::wave::sim
