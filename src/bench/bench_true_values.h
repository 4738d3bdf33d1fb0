#pragma once
// BenchTrueValues: what a reference meter would show on the bench's circuit
// over the last second of what the line input recorded: the RMS of the source
// voltage at the generator output, of the load voltage and of the current,
// and the mean power into the load with the divider across it and into the
// load alone (the divider's share, u^2 / 101 kilohm, taken out). The line
// input adds every frame it records; a frame's values are the circuit's,
// before the card's input gain, the recording volume and the noise.
//
// The second is weighted smoothly (a Hann window, as a good true-RMS meter
// averages), so that a steady sine reads steady whatever part of its period
// the second cuts: within 0.001 % from 20 Hz up, where a plain mean over a
// second that is not a whole number of periods is off by up to 0.2 %.
#include <array>
#include <cstdint>
#include <vector>

namespace bench {

struct BenchReading {
    double sourceMillivolts = 0;
    double loadMillivolts = 0;
    double currentMilliamps = 0;
    double powerMilliwatts = 0;      // mean of load voltage times current
    double loadPowerMilliwatts = 0;  // the same less the divider's share: the load's own
};

class BenchTrueValues {
public:
    // Starts a block of frames recorded at `rate` frames per second (a new
    // rate starts the second afresh).
    void beginBlock(std::int64_t rate);
    void add(double sourceMillivolts, double loadMillivolts, double currentMilliamps);
    void endBlock() {}

    // Over the last second (over less at the start; zeros before any frame).
    BenchReading rms() const;

private:
    // Per frame: source², load², current², load × current, load × the load's current.
    using Frame = std::array<double, 5>;
    std::vector<Frame> frames_;  // a ring of the last second
    std::size_t next_ = 0;       // where the next frame goes
    std::size_t held_ = 0;
    std::int64_t rate_ = 0;
};

}  // namespace bench
