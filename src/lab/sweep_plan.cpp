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

QString sweepPlanProblem(const SweepPlan& plan, int lowestHz, int highestHz) {
    if (plan.steps < 2 || plan.steps > 1000) return QStringLiteral("the number of steps must be 2 to 1000");
    for (int hz : {plan.fromHz, plan.toHz})
        if (hz < lowestHz || hz > highestHz)
            return QStringLiteral("frequencies must lie within %1 .. %2 Hz").arg(lowestHz).arg(highestHz);
    if (plan.fromHz == plan.toHz) return QStringLiteral("the sweep must go from one frequency to another");
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
