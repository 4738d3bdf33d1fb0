#pragma once
// BenchLineInput: what the bench's line input records. For every frame it
// samples the played source (BenchTimeline) at that frame's instant, runs the
// circuit (bench_circuit.h), and writes the shunt voltage on the left channel
// and the divider's output on the right, scaled by the card's input gain and
// recording volume, with
// the optional noise, rounded and clipped at full scale.
#include "platform/wave/bench_config.h"
#include "platform/wave/bench_noise.h"
#include "platform/wave/bench_timeline.h"
#include "platform/wave/bench_true_values.h"
#include "platform/wave/clocked_input_stream.h"

#include <vector>

namespace platform::wave {

class BenchLineInput final : public ClockedSource {
public:
    BenchLineInput(const BenchConfig& config, BenchTimeline& timeline);

    void started(const WAVEFORMATEX& format, Nanoseconds origin) override;
    void fill(const WAVEFORMATEX& format, Nanoseconds origin, std::int64_t firstFrame, char* data,
              std::size_t frames) override;
    void stopped() override;

    BenchReading trueValues() const { return truth_.rms(); }

private:
    const BenchConfig& config_;
    BenchTimeline& timeline_;
    BenchNoise noise_;
    BenchTrueValues truth_;
    std::vector<double> source_;  // scratch: the source over one block
};

}  // namespace platform::wave
