// A fit that cannot be made gives a reason and no numbers; a flagged point
// never enters a fit or a peak.
#include "lab/fit/fit.h"
#include "lab/fit/peak.h"
#include "support/series_circuit.h"

#include <gtest/gtest.h>
#include <limits>

namespace lab::fit {
namespace {

void expectRefused(const FitResult& result, const char* because) {
    EXPECT_FALSE(result.fit.has_value()) << because;
    EXPECT_TRUE(result.failure.contains(QString::fromUtf8(because))) << result.failure.toStdString();
}

TEST(FitRefusals, TooFewPointsOneXAndShapelessRecordsGiveReasons) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> f{100, 200, 300, 400, 500};
    // Five points, two of them without a current: three left, the resonance needs four.
    const std::vector<double> i{1, 2, nan, 2, nan};
    expectRefused(fitPoints(Model::Resonance, {f, i}), "aspoň 4 body (použitelné: 3)");
    expectRefused(fitPoints(Model::Line, {std::vector<double>{1, 2}, std::vector<double>{1, 2}}), "aspoň 3");
    expectRefused(fitPoints(Model::Proportional, {std::vector<double>{1}, std::vector<double>{1}}), "aspoň 2");
    expectRefused(fitPoints(Model::Line, {std::vector<double>{3, 3, 3, 3}, std::vector<double>{1, 2, 3, 4}}),
                  "stejnou hodnotu na vodorovné ose");
    // Numbers beyond what a double can square.
    expectRefused(fitPoints(Model::Line, {std::vector<double>{1e200, 2e200, 3e200}, std::vector<double>{1, 2, 3}}),
                  "nedalo konečná čísla");

    // Curves the points do not have: a flat record (the resonance runs off to
    // Q → 0), a flank without its peak, a frequency of zero.
    const auto hz = testsupport::logSteps(20, 1000, 30);
    std::vector<double> flat(hz.size(), 5.0), falling;
    for (double x : hz) falling.push_back(1000 / x);
    expectRefused(fitPoints(Model::Resonance, {hz, flat}), "nemají tvar rezonanční křivky");
    expectRefused(fitPoints(Model::Resonance, {hz, falling}), "f₀ mimo změřené kmitočty");
    expectRefused(fitPoints(Model::Impedance, {hz, falling}), "f₀ mimo změřené kmitočty");
    expectRefused(fitPoints(Model::Phase, {hz, falling}), "f₀ mimo změřené kmitočty");
    expectRefused(fitPoints(Model::Impedance, {hz, flat}), "nelze odhadnout");
    std::vector<double> withZero = hz;
    withZero[0] = 0;
    const testsupport::SeriesCircuit circuit;
    const auto sweep = testsupport::sweep(circuit, hz);
    expectRefused(fitPoints(Model::Resonance, {withZero, sweep.milliamps}), "kladný kmitočet");
    std::vector<double> negative = sweep.ohms;
    negative[3] = -1;
    expectRefused(fitPoints(Model::Impedance, {hz, negative}), "hodnoty kladné");
}

TEST(FitRefusals, FlaggedPointsNeverEnterAFitOrAPeak) {
    const testsupport::SeriesCircuit circuit;
    const auto hz = testsupport::logSteps(20, 1000, 30);
    const auto clean = testsupport::sweep(circuit, hz, {.relative = 0.01, .seed = 5});
    // Three clipped readings far off the curve, flagged by the record, among the others.
    std::vector<double> x = clean.hz, y = clean.milliamps;
    std::vector<std::uint8_t> flags(x.size(), 0);
    for (std::size_t at : {4u, 17u, 25u}) {
        x.insert(x.begin() + at, hz[at]);
        y.insert(y.begin() + at, 12.0);
        flags.insert(flags.begin() + at, 1);
    }
    const FitResult reference = fitPoints(Model::Resonance, {clean.hz, clean.milliamps});
    const FitResult flagged = fitPoints(Model::Resonance, {x, y, flags});
    ASSERT_TRUE(reference);
    ASSERT_TRUE(flagged);
    EXPECT_EQ(flagged.fit->points, 30u);
    for (std::size_t k = 0; k < reference.fit->parameters.size(); ++k) {
        EXPECT_EQ(flagged.fit->parameters[k].value, reference.fit->parameters[k].value);
        EXPECT_EQ(flagged.fit->parameters[k].uncertainty, reference.fit->parameters[k].uncertainty);
    }
    EXPECT_EQ(flagged.fit->r2, reference.fit->r2);
    // Unflagged, the same readings would pull the peak up.
    const FitResult unflagged = fitPoints(Model::Resonance, {x, y});
    ASSERT_TRUE(unflagged);
    EXPECT_GT(unflagged.fit->parameter("I0")->value, 1.02 * reference.fit->parameter("I0")->value);

    const auto peaks = peaksOf(Points{x, y, flags});
    ASSERT_TRUE(peaks);
    EXPECT_LT(peaks->maximum.y, 10.5);
    // Flags shorter than the points: the points after them count.
    const std::vector<std::uint8_t> firstOnly{1};
    const auto rest = peaksOf(Points{std::vector<double>{1, 2, 3}, std::vector<double>{9, 5, 7}, firstOnly});
    ASSERT_TRUE(rest);
    EXPECT_EQ(rest->maximum.x, 3);
    EXPECT_EQ(rest->minimum.x, 2);
    const std::vector<std::uint8_t> all{1, 1, 1};
    EXPECT_FALSE(peaksOf(Points{std::vector<double>{1, 2, 3}, std::vector<double>{9, 5, 7}, all}));
}

}  // namespace
}  // namespace lab::fit
