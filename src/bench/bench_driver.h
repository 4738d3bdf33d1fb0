#pragma once
// BenchDriver: the virtual measuring bench, the default when there is no
// sound hardware. Its output device is the generator (what the player plays
// becomes the source voltage), its input device the measuring unit's line
// input (shunt voltage left, divider output right), joined by the test
// circuit of bench_circuit.h, all on a VirtualClock: the input records what
// the output played at the same instants, silence before the first sample.
//
// Both devices take any PCM format; each can be open once at a time.
#include "bench/bench_config.h"
#include "bench/bench_true_values.h"
#include "platform/virtual_clock.h"
#include "platform/wave/driver.h"

#include <memory>

namespace bench {

struct BenchState;

class BenchDriver final : public platform::wave::Driver {
public:
    // The configuration should pass benchConfigError(); a negative load or
    // noise is taken as 0.
    explicit BenchDriver(BenchConfig config = {}, platform::VirtualClock& clock = platform::virtualClock());
    ~BenchDriver() override;

    std::string name() const override { return "bench"; }
    platform::wave::UINT deviceCount(platform::wave::Direction direction) const override;
    std::string deviceName(platform::wave::Direction direction, platform::wave::UINT device) const override;
    platform::wave::MMRESULT open(platform::wave::Direction direction, platform::wave::UINT device,
                                  const platform::wave::WAVEFORMATEX& format, platform::wave::BufferSink& sink,
                                  std::unique_ptr<platform::wave::Stream>& stream) override;

    const BenchConfig& config() const;
    // Swaps the load as a teacher swaps a part: a series R, L, C (followed
    // from rest), or with none the resistor `ohms`. The card and the noise stay.
    void changeLoad(const std::optional<BenchRlc>& circuit, double ohms);
    // What a reference meter would show on the circuit (RMS, last second).
    BenchReading trueValues() const;

private:
    platform::VirtualClock& clock_;
    std::shared_ptr<BenchState> state_;
};

}  // namespace bench
