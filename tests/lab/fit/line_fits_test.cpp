// The lines: the textbook figures with their standard uncertainties, and
// Ohm's law through the origin read off points at five amplitudes.
#include "lab/fit/fit.h"
#include "lab/fit/statement.h"
#include "support/series_circuit.h"

#include <gtest/gtest.h>

namespace lab::fit {
namespace {

TEST(LineFits, TextbookPointsGiveTheirSlopesAndUncertainties) {
    // x 1..5, y 2 4 5 4 5: slope 0.6, intercept 2.2, residual sum 2.4, so
    // s² = 2.4/3 = 0.8, u(slope) = √(0.8/10), u(intercept) = √(0.8·(1/5 + 9/10)).
    const std::vector<double> x{1, 2, 3, 4, 5}, y{2, 4, 5, 4, 5};
    const FitResult line = fitPoints(Model::Line, {x, y});
    ASSERT_TRUE(line);
    EXPECT_NEAR(line.fit->parameter("Slope")->value, 0.6, 1e-12);
    EXPECT_NEAR(line.fit->parameter("Slope")->uncertainty, 0.28284271, 1e-8);
    EXPECT_NEAR(line.fit->parameter("Intercept")->value, 2.2, 1e-12);
    EXPECT_NEAR(line.fit->parameter("Intercept")->uncertainty, 0.93808315, 1e-8);
    EXPECT_NEAR(line.fit->r2, 0.6, 1e-12);
    EXPECT_NEAR(line.fit->rms, std::sqrt(2.4 / 5), 1e-12);
    EXPECT_DOUBLE_EQ(line.fit->at(10), 8.2);

    // Through the origin, x 1 2 3, y 2 4 7: slope Σxy/Σx² = 31/14, residual
    // sum 5/14 over n − 1 = 2 degrees of freedom, u = √(5/28/14).
    const FitResult proportional = fitPoints(Model::Proportional, {std::vector<double>{1, 2, 3}, std::vector<double>{2, 4, 7}});
    ASSERT_TRUE(proportional);
    ASSERT_EQ(proportional.fit->parameters.size(), 1u);
    EXPECT_NEAR(proportional.fit->parameters[0].value, 31.0 / 14, 1e-12);
    EXPECT_NEAR(proportional.fit->parameters[0].uncertainty, std::sqrt(5.0 / 28 / 14), 1e-12);
    EXPECT_DOUBLE_EQ(proportional.fit->at(0), 0);
}

TEST(LineFits, OhmsLawThroughTheOriginGivesTheResistance) {
    // R = 47 Ω at five amplitudes, the card's noise on both readings; the
    // line through the origin must not be pulled by an intercept it has not.
    testsupport::SeededGauss gauss(11);
    std::vector<double> milliamps, millivolts;
    for (double i : {2.0, 4.0, 6.0, 8.0, 10.0}) {
        milliamps.push_back(i + 0.002 * gauss.next());
        millivolts.push_back(47 * i + 0.1 * gauss.next());
    }
    const FitResult ohm = fitPoints(Model::Proportional, {milliamps, millivolts});
    ASSERT_TRUE(ohm);
    const Parameter& r = ohm.fit->parameters[0];
    EXPECT_NEAR(r.value, 47, 0.047);
    EXPECT_GT(r.uncertainty, 0);
    EXPECT_LT(std::abs(r.value - 47), 4 * r.uncertainty);

    // Read as the teacher reads it: a slope of mV per mA is R in ohms.
    EXPECT_EQ(equationOf(Model::Proportional, Quantity::Current, Quantity::Voltage), QStringLiteral("U = R·I"));
    const QStringList texts = parameterTexts(*ohm.fit, Quantity::Current, Quantity::Voltage);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("R = 4"))) << texts[0].toStdString();
    EXPECT_TRUE(texts[0].endsWith(QStringLiteral("\u00A0Ω"))) << texts[0].toStdString();

    // The line with an intercept finds one consistent with none.
    const FitResult line = fitPoints(Model::Line, {milliamps, millivolts});
    ASSERT_TRUE(line);
    const Parameter* b = line.fit->parameter("Intercept");
    EXPECT_LT(std::abs(b->value), 4 * b->uncertainty);
    EXPECT_EQ(equationOf(Model::Line, Quantity::Frequency, Quantity::Current), QStringLiteral("I = a·f + b"));
}

}  // namespace
}  // namespace lab::fit
