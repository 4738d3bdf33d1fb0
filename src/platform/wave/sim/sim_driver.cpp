#include "platform/wave/sim/sim_driver.h"

#include "platform/wave/clocked/clocked_input_stream.h"
#include "platform/wave/sim/sim_output_stream.h"
#include "platform/wave/sim/sim_stream.h"

#include <algorithm>
#include <cstring>

namespace platform::wave::sim {
namespace {

std::vector<SimDevice> oneDevice(const char* name) {
    SimDevice d;
    d.name = name;
    return {d};
}

bool accepts(const SimDevice& d, const WAVEFORMATEX& f) {
    if (!d.rates.empty() && std::find(d.rates.begin(), d.rates.end(), f.nSamplesPerSec) == d.rates.end())
        return false;
    if (f.nChannels > d.maxChannels) return false;
    return std::find(d.bits.begin(), d.bits.end(), f.wBitsPerSample) != d.bits.end();
}

}  // namespace

void SimSignal::fill(const WAVEFORMATEX& format, Nanoseconds /*origin*/, std::int64_t firstFrame, char* data,
                     std::size_t frames) {
    if (source)
        source(format, firstFrame, data, frames);
    else
        std::memset(data, format.wBitsPerSample == 8 ? 0x80 : 0, frames * format.nBlockAlign);  // silence
}

MMRESULT SimState::takeFault(SimCall call) {
    SimFaultRule& rule = faults[static_cast<std::size_t>(call)];
    if (rule.times == 0) return MMSYSERR_NOERROR;
    if (rule.after > 0) {
        --rule.after;
        return MMSYSERR_NOERROR;
    }
    if (rule.times > 0) --rule.times;
    return rule.code;
}

SimDriver::SimDriver(VirtualClock& clock)
    : SimDriver(clock, oneDevice("Simulated line input"), oneDevice("Simulated speakers")) {}

SimDriver::SimDriver(VirtualClock& clock, std::vector<SimDevice> inputs, std::vector<SimDevice> outputs)
    : clock_(clock), state_(std::make_shared<SimState>()) {
    state_->inputOpens.assign(inputs.size(), 0);
    state_->outputOpens.assign(outputs.size(), 0);
    state_->inputs = std::move(inputs);
    state_->outputs = std::move(outputs);
}

SimDriver::~SimDriver() = default;

UINT SimDriver::deviceCount(Direction direction) const {
    return static_cast<UINT>(direction == Direction::Input ? state_->inputs.size() : state_->outputs.size());
}

std::string SimDriver::deviceName(Direction direction, UINT device) const {
    const auto& devices = direction == Direction::Input ? state_->inputs : state_->outputs;
    return device < devices.size() ? devices[device].name : std::string{};
}

MMRESULT SimDriver::open(Direction direction, UINT device, const WAVEFORMATEX& format, BufferSink& sink,
                         std::unique_ptr<Stream>& stream) {
    if (device == WAVE_MAPPER) device = 0;
    const bool input = direction == Direction::Input;
    const auto& devices = input ? state_->inputs : state_->outputs;
    auto& opens = input ? state_->inputOpens : state_->outputOpens;
    if (device >= devices.size()) return MMSYSERR_BADDEVICEID;
    if (const MMRESULT r = state_->takeFault(SimCall::Open)) return r;
    if (!accepts(devices[device], format)) return WAVERR_BADFORMAT;
    if (opens[device] >= devices[device].maxOpen) return MMSYSERR_ALLOCATED;
    ++opens[device];
    ++state_->openStreams[SimState::index(direction)];
    ++state_->opens;
    auto onClose = [state = state_, direction, device] {
        --state->openStreams[SimState::index(direction)];
        --(direction == Direction::Input ? state->inputOpens : state->outputOpens)[device];
    };
    if (input)
        stream = std::make_unique<SimStream<ClockedInputStream>>(state_, direction, clock_, format, sink,
                                                                 state_->signal, onClose);
    else
        stream = std::make_unique<SimOutputStream>(state_, state_->opens, clock_, format, sink, onClose);
    return MMSYSERR_NOERROR;
}

void SimDriver::setSignalSource(SignalSource source) { state_->signal.source = std::move(source); }

void SimDriver::injectFault(SimCall call, MMRESULT code, int after, int times) {
    state_->faults[static_cast<std::size_t>(call)] = SimFaultRule{code, std::max(after, 0), times};
}

void SimDriver::clearFaults() { state_->faults = {}; }

const std::vector<PlayedBuffer>& SimDriver::played() const { return state_->played; }

void SimDriver::clearPlayed() { state_->played.clear(); }

void SimDriver::setKeepPlayed(bool keep) { state_->keepPlayed = keep; }

int SimDriver::openStreams(Direction direction) const {
    return state_->openStreams[SimState::index(direction)];
}

int SimDriver::heldBuffers(Direction direction) const {
    return state_->heldBuffers[SimState::index(direction)];
}

}  // namespace platform::wave::sim
