// Whether the fits' stated uncertainties are honest: the same circuit
// (R = 100 Ω, L = 100 mH, C = 1 µF; 30 steps 20 Hz – 1 kHz) swept with 200
// noise seeds; the share of sweeps whose stated 1σ interval holds the truth
// should be about 68 % (68 ± 3.3 % is one standard deviation of the share
// over 200 sweeps). Printed for each parameter and each kind of noise: the
// card's (the same for every point, 1 % of the current at the upper end; the
// fits weigh the points for it), and 1 % of each point's own value, for
// which the stated uncertainties of the current and |Z| are too small.
//
//   fit_coverage [sweeps]
#include "lab/fit/fit.h"
#include "support/series_circuit.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using lab::fit::Model;
using testsupport::SeriesCircuit;
using testsupport::SweepNoise;

struct Count {
    int covered = 0;
    int fitted = 0;
    double sumError = 0;  // of value − truth, relative, for the bias
};

struct Tally {
    const char* name;
    double truth;
    Count count;
};

void tally(const lab::fit::Fit& fit, Tally& t) {
    const lab::fit::Parameter* p = fit.parameter(QString::fromLatin1(t.name));
    if (!p) return;
    ++t.count.fitted;
    t.count.sumError += (p->value - t.truth) / t.truth;
    if (std::abs(p->value - t.truth) <= p->uncertainty) ++t.count.covered;
}

void report(const char* model, const char* noise, int refused, const Tally* tallies, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) {
        const Count& c = tallies[k].count;
        std::printf("%-10s %-9s %-10s covered %5.1f %%  (%3d of %3d fitted, %d refused), mean error %+.3f %%\n", model,
                    tallies[k].name, noise, c.fitted ? 100.0 * c.covered / c.fitted : 0.0, c.covered, c.fitted, refused,
                    c.fitted ? 100.0 * c.sumError / c.fitted : 0.0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int sweeps = argc > 1 ? std::atoi(argv[1]) : 200;
    const SeriesCircuit circuit;
    const auto hz = testsupport::logSteps(20, 1000, 30);
    const double upperEnd = circuit.milliamps(1000);
    struct NoiseKind {
        const char* name;
        SweepNoise noise;
    };
    const NoiseKind kinds[] = {{"card", {.milliamps = 0.01 * upperEnd, .degrees = 0.5}},
                               {"relative", {.relative = 0.01, .degrees = 0.5}}};
    for (const NoiseKind& kind : kinds) {
        Tally resonance[] = {{"F0", circuit.resonanceHz(), {}},
                             {"Q", circuit.quality(), {}},
                             {"I0", circuit.millivolts / circuit.ohms, {}},
                             {"Bandwidth", circuit.resonanceHz() / circuit.quality(), {}}};
        Tally impedance[] = {{"R", circuit.ohms, {}},
                             {"L", circuit.henries, {}},
                             {"C", circuit.farads, {}},
                             {"F0", circuit.resonanceHz(), {}}};
        Tally phase[] = {{"F0", circuit.resonanceHz(), {}}, {"Q", circuit.quality(), {}}};
        int refused[3] = {0, 0, 0};
        for (int seed = 1; seed <= sweeps; ++seed) {
            SweepNoise noise = kind.noise;
            noise.seed = static_cast<std::uint64_t>(seed);
            const auto s = testsupport::sweep(circuit, hz, noise);
            const lab::fit::FitResult fits[] = {lab::fit::fitPoints(Model::Resonance, {s.hz, s.milliamps}),
                                                lab::fit::fitPoints(Model::Impedance, {s.hz, s.ohms}),
                                                lab::fit::fitPoints(Model::Phase, {s.hz, s.degrees})};
            Tally* tallies[] = {resonance, impedance, phase};
            const std::size_t counts[] = {std::size(resonance), std::size(impedance), std::size(phase)};
            for (int m = 0; m < 3; ++m) {
                if (!fits[m]) {
                    ++refused[m];
                    continue;
                }
                for (std::size_t k = 0; k < counts[m]; ++k) tally(*fits[m].fit, tallies[m][k]);
            }
        }
        report("resonance", kind.name, refused[0], resonance, std::size(resonance));
        report("impedance", kind.name, refused[1], impedance, std::size(impedance));
        report("phase", kind.name, refused[2], phase, std::size(phase));
    }
    return 0;
}
