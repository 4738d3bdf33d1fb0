#include "lab/sweep_plan.h"

#include <QRegularExpression>
#include <cmath>

namespace lab {

std::vector<int> sweepFrequencies(const SweepPlan& plan) {
    std::vector<int> out;
    if (plan.steps < 2 || plan.fromHz <= 0 || plan.toHz <= 0) return out;
    out.reserve(static_cast<std::size_t>(plan.steps));
    const double from = plan.fromHz;
    const double to = plan.toHz;
    for (int i = 0; i < plan.steps; ++i) {
        const double share = static_cast<double>(i) / (plan.steps - 1);
        const double hz = plan.logarithmic ? from * std::pow(to / from, share) : from + (to - from) * share;
        const int whole = static_cast<int>(std::lround(hz));
        if (out.empty() || out.back() != whole) out.push_back(whole);
    }
    return out;
}

namespace {

enum class Problem { None, Steps, From, To, Same, Merged };

struct Check {
    Problem problem = Problem::None;
    std::size_t distinct = 0;  // the whole-hertz frequencies of a plan too dense
};

Check check(const SweepPlan& plan, int lowestHz, int highestHz) {
    if (plan.steps < 2 || plan.steps > kMostSweepSteps) return {Problem::Steps};
    if (plan.fromHz < lowestHz || plan.fromHz > highestHz) return {Problem::From};
    if (plan.toHz < lowestHz || plan.toHz > highestHz) return {Problem::To};
    if (plan.fromHz == plan.toHz) return {Problem::Same};
    const std::size_t distinct = sweepFrequencies(plan).size();
    if (distinct < static_cast<std::size_t>(plan.steps)) return {Problem::Merged, distinct};
    return {};
}

}  // namespace

QString sweepPlanProblem(const SweepPlan& plan, int lowestHz, int highestHz) {
    const Check c = check(plan, lowestHz, highestHz);
    switch (c.problem) {
        case Problem::None: return {};
        case Problem::Steps: return QStringLiteral("the number of steps must be 2 to %1").arg(kMostSweepSteps);
        case Problem::From:
        case Problem::To:
            return QStringLiteral("frequencies must lie within %1 .. %2 Hz").arg(lowestHz).arg(highestHz);
        case Problem::Same: return QStringLiteral("the sweep must go from one frequency to another");
        case Problem::Merged:
            return QStringLiteral("%1 steps from %2 to %3 Hz would round to %4 different whole-hertz frequencies: "
                                  "ask for %4 steps at most")
                .arg(plan.steps)
                .arg(plan.fromHz)
                .arg(plan.toHz)
                .arg(c.distinct);
    }
    return {};
}

QString sweepPlanProblemCzech(const SweepPlan& plan, int lowestHz, int highestHz) {
    const Check c = check(plan, lowestHz, highestHz);
    switch (c.problem) {
        case Problem::None: return {};
        case Problem::Steps: return QStringLiteral("Kroků může být 2 až %1.").arg(kMostSweepSteps);
        case Problem::From:
            return QStringLiteral("„Od“ musí být %1 až %2 Hz, generátor jiný kmitočet neumí.").arg(lowestHz).arg(highestHz);
        case Problem::To:
            return QStringLiteral("„Do“ musí být %1 až %2 Hz, generátor jiný kmitočet neumí.").arg(lowestHz).arg(highestHz);
        case Problem::Same: return QStringLiteral("„Od“ a „Do“ musí být různé kmitočty.");
        case Problem::Merged:
            return QStringLiteral("Generátor se nastavuje po celých hertzích: od %1 do %2 Hz je jich jen %3, "
                                  "kroků může být nejvýš %3.")
                .arg(plan.fromHz)
                .arg(plan.toHz)
                .arg(c.distinct);
    }
    return {};
}

std::optional<SweepPlan> parseSweepPlan(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d+)\\.\\.(\\d+)/(\\d+)/(log|lin)$"));
    const auto m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    bool ok[3] = {false, false, false};
    SweepPlan plan{m.captured(1).toInt(&ok[0]), m.captured(2).toInt(&ok[1]), m.captured(3).toInt(&ok[2]),
                   m.captured(4) == QLatin1String("log")};
    if (!ok[0] || !ok[1] || !ok[2]) return std::nullopt;
    return plan;
}

}  // namespace lab
