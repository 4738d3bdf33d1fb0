#pragma once
// BenchTrueValues: what a reference meter would show on the bench's circuit,
// RMS over the last second of what the line input recorded: the source
// voltage at the generator output, the load voltage and the current. The line
// input adds every frame it records; a frame's values are the circuit's, before
// the card's input gain, the recording volume and the noise.
#include <cstdint>
#include <deque>

namespace bench {

struct BenchReading {
    double sourceMillivolts = 0;
    double loadMillivolts = 0;
    double currentMilliamps = 0;
};

class BenchTrueValues {
public:
    // Starts a block of frames recorded at `rate` frames per second.
    void beginBlock(std::int64_t rate);
    void add(double sourceMillivolts, double loadMillivolts, double currentMilliamps);
    // Ends the block and forgets blocks older than one second before it.
    void endBlock();

    // RMS over the last second (over less at the start; zeros before any frame).
    BenchReading rms() const;

private:
    struct Block {
        std::int64_t frames = 0;
        std::int64_t rate = 1;
        double squares[3] = {0, 0, 0};
    };
    std::deque<Block> blocks_;
    Block current_;
};

}  // namespace bench
