// The frequencies of a sweep, rounded to the whole hertz of the frequency bar,
// and the scripts' way of writing a sweep and a graph.
#include "lab/graph_choice.h"
#include "lab/sweep_plan.h"

#include <gtest/gtest.h>

namespace lab {
namespace {

TEST(SweepPlan, LinearAndLogarithmicStepsInWholeHertz) {
    const std::vector<int> linear = sweepFrequencies({100, 220, 61, false});
    ASSERT_EQ(linear.size(), 61u);
    for (std::size_t i = 0; i < linear.size(); ++i) EXPECT_EQ(linear[i], 100 + 2 * static_cast<int>(i));

    // 20 .. 1000 in 40 equal ratios of 1.1055: each rounded to the nearest hertz.
    const std::vector<int> log = sweepFrequencies({20, 1000, 40, true});
    ASSERT_EQ(log.size(), 40u);
    EXPECT_EQ(log.front(), 20);
    EXPECT_EQ(log[1], 22);   // 22.11
    EXPECT_EQ(log[20], 149);  // 149.4
    EXPECT_EQ(log.back(), 1000);

    // Downwards too; steps that round to the same hertz are taken once.
    EXPECT_EQ(sweepFrequencies({25, 20, 11, false}), (std::vector<int>{25, 24, 23, 22, 21, 20}));
}

TEST(SweepPlan, ScriptsWriteFromToStepsAndScale) {
    const auto plan = parseSweepPlan(QStringLiteral("20..1000/40/log"));
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->fromHz, 20);
    EXPECT_EQ(plan->toHz, 1000);
    EXPECT_EQ(plan->steps, 40);
    EXPECT_TRUE(plan->logarithmic);
    EXPECT_FALSE(parseSweepPlan(QStringLiteral("20..1000/40")));
    EXPECT_FALSE(parseSweepPlan(QStringLiteral("20-1000/40/log")));
    EXPECT_FALSE(parseSweepPlan(QStringLiteral("20..1000/40/exp")));

    EXPECT_EQ(sweepPlanProblem(*plan, 20, 1000), QString());
    EXPECT_NE(sweepPlanProblem({10, 1000, 40, true}, 20, 1000), QString());
    EXPECT_NE(sweepPlanProblem({20, 1001, 40, true}, 20, 1000), QString());
    EXPECT_NE(sweepPlanProblem({20, 1000, 1, true}, 20, 1000), QString());
    EXPECT_NE(sweepPlanProblem({300, 300, 5, false}, 20, 1000), QString());
    // More steps than whole hertz between from and to: said, not silently fewer.
    EXPECT_EQ(sweepPlanProblem({20, 40, 21, false}, 20, 1000), QString());
    EXPECT_TRUE(sweepPlanProblem({20, 40, 41, false}, 20, 1000).contains(QStringLiteral("21 different")));
    EXPECT_EQ(sweepPlanProblemCzech({20, 5000, 40, true}, 20, 1000),
              QStringLiteral("„Do“ musí být 20 až 1000 Hz, generátor jiný kmitočet neumí."));
}

TEST(GraphChoice, QuantitiesByTheirKeysWithTheAxesScales) {
    const auto choice = parseGraphChoice(QStringLiteral("ImpedanceOhms:FrequencyHz:logx"));
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->y, Quantity::Impedance);
    EXPECT_EQ(choice->x, Quantity::Frequency);
    EXPECT_TRUE(choice->logX);
    EXPECT_FALSE(choice->logY);
    GraphChoice withFit;
    withFit.fit = true;
    const auto ohm = parseGraphChoice(QStringLiteral("VoltageMillivolts:CurrentMilliamps"), withFit);
    ASSERT_TRUE(ohm);
    EXPECT_TRUE(ohm->fit);  // kept
    EXPECT_EQ(ratioUnit(ohm->y, ohm->x), QStringLiteral("Ω"));
    EXPECT_EQ(ratioUnit(Quantity::Impedance, Quantity::Frequency), QStringLiteral("Ω/Hz"));
    EXPECT_FALSE(parseGraphChoice(QStringLiteral("Current:Time")));
    EXPECT_FALSE(parseGraphChoice(QStringLiteral("CurrentMilliamps:TimeSeconds:semilog")));
}

}  // namespace
}  // namespace lab
