#pragma once
// BenchLineInput: what the bench's line input records. For every frame it
// samples the played source (BenchTimeline) at that frame's instant, runs the
// circuit (bench_circuit.h), and writes the shunt voltage on the left channel
// and the divider's output on the right, scaled by the card's input gain and
// recording volume, with
// the optional noise, rounded and clipped at full scale.
#include "bench/bench_config.h"
#include "bench/bench_noise.h"
#include "bench/bench_rlc.h"
#include "bench/bench_timeline.h"
#include "bench/bench_true_values.h"
#include "platform/wave/clocked/clocked_input_stream.h"

#include <optional>
#include <vector>

namespace bench {

class BenchLineInput final : public platform::wave::clocked::ClockedSource {
public:
    BenchLineInput(const BenchConfig& config, BenchTimeline& timeline);

    void started(const platform::wave::WAVEFORMATEX& format, platform::Nanoseconds origin) override;
    void fill(const platform::wave::WAVEFORMATEX& format, platform::Nanoseconds origin, std::int64_t firstFrame,
              char* data, std::size_t frames) override;
    void stopped() override;

    BenchReading trueValues() const { return truth_.rms(); }
    // The configuration's load was changed (a part swapped): a reactive one
    // is followed from rest from the next frame on.
    void loadChanged();

private:
    const BenchConfig& config_;
    BenchTimeline& timeline_;
    BenchNoise noise_;
    BenchTrueValues truth_;
    std::optional<BenchRlcCircuit> circuit_;  // with a reactive load, from the start of recording
    std::int64_t rate_ = 0;       // of the recording under way, 0 before it starts
    std::vector<double> source_;  // scratch: the source over one block
};

}  // namespace bench
