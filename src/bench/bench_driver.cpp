#include "bench/bench_driver.h"

#include "bench/bench_line_input.h"
#include "platform/wave/clocked/clocked_input_stream.h"
#include "platform/wave/clocked/clocked_output_stream.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace bench {

using namespace platform;
using namespace platform::wave;
using namespace platform::wave::clocked;

struct BenchState {
    explicit BenchState(BenchConfig c) : config(std::move(c)), input(config, timeline) {}

    BenchConfig config;
    BenchTimeline timeline;
    BenchLineInput input;
    std::array<bool, 2> open{};  // input, output
};

std::string benchConfigError(const BenchConfig& config) {
    if (!std::isfinite(config.loadOhms) || config.loadOhms < 0)
        return "The bench load must be a resistance of 0 ohms or more";
    if (!std::isfinite(config.noise) || config.noise < 0)
        return "The bench noise must be a level of 0 or more (sample units)";
    if (!std::isfinite(config.lineInputGain) || config.lineInputGain <= 0)
        return "The bench input gain must be a factor above 0";
    if (!std::isfinite(config.lineOutputGain) || config.lineOutputGain <= 0)
        return "The bench output gain must be a factor above 0";
    return {};
}

namespace {

BenchConfig sane(BenchConfig c) {
    if (!std::isfinite(c.loadOhms) || c.loadOhms < 0) c.loadOhms = 0;
    if (!std::isfinite(c.noise) || c.noise < 0) c.noise = 0;
    if (!std::isfinite(c.lineInputGain) || c.lineInputGain <= 0) c.lineInputGain = 1;
    if (!std::isfinite(c.lineOutputGain) || c.lineOutputGain <= 0) c.lineOutputGain = 1;
    return c;
}

}  // namespace

BenchDriver::BenchDriver(BenchConfig config, VirtualClock& clock)
    : clock_(clock), state_(std::make_shared<BenchState>(sane(std::move(config)))) {}

BenchDriver::~BenchDriver() = default;

const BenchConfig& BenchDriver::config() const { return state_->config; }

void BenchDriver::changeLoad(const std::optional<BenchRlc>& circuit, double ohms) {
    state_->config.circuit = circuit;
    state_->config.loadOhms = std::isfinite(ohms) && ohms >= 0 ? ohms : 0.0;
    state_->input.loadChanged();
}

BenchReading BenchDriver::trueValues() const { return state_->input.trueValues(); }

UINT BenchDriver::deviceCount(Direction /*direction*/) const { return 1; }

std::string BenchDriver::deviceName(Direction direction, UINT device) const {
    if (device != 0 && device != WAVE_MAPPER) return {};
    return direction == Direction::Input ? "Bench line input (shunt left, divider right)" : "Bench generator output";
}

MMRESULT BenchDriver::open(Direction direction, UINT device, const WAVEFORMATEX& format, BufferSink& sink,
                           std::unique_ptr<Stream>& stream) {
    if (device != 0 && device != WAVE_MAPPER) return MMSYSERR_BADDEVICEID;
    const std::size_t slot = direction == Direction::Input ? 0 : 1;
    if (state_->open[slot]) return MMSYSERR_ALLOCATED;
    state_->open[slot] = true;
    auto onClose = [state = state_, slot] { state->open[slot] = false; };
    if (direction == Direction::Input)
        stream = std::make_unique<ClockedInputStream>(clock_, format, sink, state_->input, onClose);
    else
        stream = std::make_unique<ClockedOutputStream>(clock_, format, sink, &state_->timeline, onClose);
    return MMSYSERR_NOERROR;
}

}  // namespace bench
