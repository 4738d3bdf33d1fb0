#pragma once
// BenchNoise: the bench's deterministic noise, the same sequence for the same
// seed on every machine (splitmix64, with an Irwin-Hall sum of four uniform
// values for a bell-shaped distribution of unit variance).
#include <cstdint>

namespace bench {

class BenchNoise {
public:
    explicit BenchNoise(std::uint64_t seed) : state_(seed) {}

    // Next value: mean 0, standard deviation 1, within +-sqrt(12).
    double next() {
        double sum = 0;
        for (int i = 0; i < 4; ++i) sum += static_cast<double>(nextBits() >> 11) * 0x1.0p-53;
        return (sum - 2.0) * 1.7320508075688772;  // variance 4/12 -> 1
    }

private:
    std::uint64_t nextBits() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    std::uint64_t state_;
};

}  // namespace bench
