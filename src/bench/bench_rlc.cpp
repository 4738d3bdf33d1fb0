#include "bench/bench_rlc.h"

namespace bench {
namespace {

constexpr double kDivider = kBenchDividerTopOhms + kBenchDividerBottomOhms;

struct State {
    double current = 0;
    double capacitor = 0;
};

State times(const Matrix2& m, const State& x) {
    return {m.a * x.current + m.b * x.capacitor, m.c * x.current + m.d * x.capacitor};
}

}  // namespace

BenchRlcCircuit::BenchRlcCircuit(const BenchRlc& load, std::int64_t rate)
    : load_(load),
      g_(kDivider / (kDivider + kBenchShuntOhms)),
      rEffective_(load.ohms + g_ * kBenchShuntOhms),
      frame_(1.0 / static_cast<double>(rate > 0 ? rate : 44100)) {
    // d/dt (i, v) = A (i, v) + (g Vs / L, 0), from
    //   L di/dt = g Vs - rEffective i - v,  C dv/dt = i.
    // Without C, v stays 0. Without L, i follows the source and v at once and
    // only v moves: rEffective C dv/dt = g Vs - v. A state that does not move
    // has a zero row and column in A, and in its inverse here.
    Matrix2 a;
    if (load_.henries && load_.farads) {
        a = {-rEffective_ / *load_.henries, -1 / *load_.henries, 1 / *load_.farads, 0};
        const double det = -a.b * a.c;
        inverse_ = {0, -a.b / det, -a.c / det, a.a / det};
    } else if (load_.henries) {
        a.a = -rEffective_ / *load_.henries;
        inverse_.a = 1 / a.a;
    } else if (load_.farads) {
        a.d = -1 / (rEffective_ * *load_.farads);
        inverse_.d = 1 / a.d;
    }
    step_ = exponential(a, frame_);
}

void BenchRlcCircuit::reset() {
    current_ = 0;
    capacitor_ = 0;
}

BenchProbe BenchRlcCircuit::step(double sourceMillivolts) {
    const double drive = g_ * sourceMillivolts;
    // Where the state settles with this source held: no current through a
    // capacitor, the capacitor charged to the open-circuit voltage.
    State rest;
    if (load_.henries && !load_.farads) rest.current = drive / rEffective_;
    if (load_.farads) rest.capacitor = drive;

    const State start{current_ - rest.current, capacitor_ - rest.capacitor};  // from rest
    const State end = times(step_, start);
    const State integral = times(inverse_, {end.current - start.current, end.capacitor - start.capacitor});
    const State mean{rest.current + integral.current / frame_, rest.capacitor + integral.capacitor / frame_};
    current_ = rest.current + end.current;
    capacitor_ = rest.capacitor + end.capacitor;
    const double branch = load_.henries ? mean.current : (drive - mean.capacitor) / rEffective_;
    return probe(sourceMillivolts, branch);
}

BenchProbe BenchRlcCircuit::probe(double sourceMillivolts, double branch) const {
    BenchProbe p;
    p.loadMillivolts = g_ * (sourceMillivolts - kBenchShuntOhms * branch);
    p.currentMilliamps = branch + p.loadMillivolts / kDivider;
    p.shuntMillivolts = p.currentMilliamps * kBenchShuntOhms;
    p.dividerMillivolts = p.loadMillivolts * kBenchDividerBottomOhms / kDivider;
    return p;
}

}  // namespace bench
