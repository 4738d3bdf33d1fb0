#pragma once
// The points a frequency sweep of a series R, L, C circuit gives, computed
// from its parts, with seeded Gaussian noise on the current (the |Z| of a
// point is U over the noisy current, as the lab computes it): for the fits'
// tests and their measurements in bench/.
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

namespace testsupport {

struct SeriesCircuit {
    double ohms = 100;
    double henries = 0.1;
    double farads = 1e-6;
    double millivolts = 1000;  // the source's RMS voltage

    double resonanceHz() const { return 1 / (2 * std::numbers::pi * std::sqrt(henries * farads)); }
    double quality() const { return std::sqrt(henries / farads) / ohms; }
    double reactance(double hz) const {
        const double omega = 2 * std::numbers::pi * hz;
        return omega * henries - 1 / (omega * farads);
    }
    double impedance(double hz) const { return std::hypot(ohms, reactance(hz)); }
    double milliamps(double hz) const { return millivolts / impedance(hz); }
    double phaseDegrees(double hz) const { return std::atan2(reactance(hz), ohms) * 180 / std::numbers::pi; }
};

struct SweepNoise {
    double relative = 0;     // standard deviation, as a fraction of each point's current
    double milliamps = 0;    // and an absolute part of it, the same for every point
    double degrees = 0;      // on the phase
    std::uint64_t seed = 1;
};

struct SweepPoints {
    std::vector<double> hz, milliamps, ohms, degrees;
};

// `steps` frequencies from `from` to `to`, spaced by equal ratios.
inline std::vector<double> logSteps(double from, double to, int steps) {
    std::vector<double> f;
    for (int i = 0; i < steps; ++i) f.push_back(from * std::pow(to / from, i / double(steps - 1)));
    return f;
}

// Gaussian numbers by Box and Muller from the 64-bit Mersenne twister, whose
// sequence the standard fixes: the same on every machine.
class SeededGauss {
public:
    explicit SeededGauss(std::uint64_t seed) : bits_(seed) {}
    double next() {
        const double u1 = (static_cast<double>(bits_() >> 11) + 1) * 0x1.0p-53;  // (0, 1]
        const double u2 = static_cast<double>(bits_() >> 11) * 0x1.0p-53;
        return std::sqrt(-2 * std::log(u1)) * std::cos(2 * std::numbers::pi * u2);
    }

private:
    std::mt19937_64 bits_;
};

inline SweepPoints sweep(const SeriesCircuit& circuit, const std::vector<double>& hz, const SweepNoise& noise = {}) {
    SeededGauss gauss(noise.seed);
    SweepPoints points;
    for (double f : hz) {
        const double i = circuit.milliamps(f);
        const double sigma = std::hypot(noise.relative * i, noise.milliamps);
        const double measured = i + sigma * gauss.next();
        points.hz.push_back(f);
        points.milliamps.push_back(measured);
        points.ohms.push_back(circuit.millivolts / measured);
        points.degrees.push_back(circuit.phaseDegrees(f) + noise.degrees * gauss.next());
    }
    return points;
}

}  // namespace testsupport
