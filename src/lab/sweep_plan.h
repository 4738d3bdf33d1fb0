#pragma once
// A frequency sweep: from, to, a number of steps, spaced evenly (linear) or
// by equal ratios (logarithmic). The generator is set in whole hertz (the
// frequency bar's positions), so every step is rounded to the nearest whole
// hertz; a step that rounds to the frequency of the step before is left out.
#include <QString>
#include <optional>
#include <vector>

namespace lab {

struct SweepPlan {
    int fromHz = 0;
    int toHz = 0;
    int steps = 0;  // 2 or more
    bool logarithmic = false;
};

// Frequencies in the order they are set (from `fromHz` to `toHz`, either way).
std::vector<int> sweepFrequencies(const SweepPlan& plan);

// Why a plan cannot be run with frequencies in lowestHz .. highestHz ("" when
// it can): steps 2 .. 1000, from and to within the range and apart, and no
// more steps than there are whole hertz for them (41 steps from 20 to 40 Hz
// would be 21 frequencies, not 41). In English for scripts, in Czech for the
// window.
QString sweepPlanProblem(const SweepPlan& plan, int lowestHz, int highestHz);
QString sweepPlanProblemCzech(const SweepPlan& plan, int lowestHz, int highestHz);
inline constexpr int kMostSweepSteps = 1000;

// "FROM..TO/STEPS/log" or ".../lin" (the --do lab:sweep= argument); nothing
// when it does not read so.
std::optional<SweepPlan> parseSweepPlan(const QString& text);

}  // namespace lab
