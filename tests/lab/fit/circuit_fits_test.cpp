// The circuit's curves fitted to sweeps of known parts with seeded noise:
// the parts come back within what one sweep can tell, each with an
// uncertainty that covers the truth, and the marked peak is the circuit's
// resonance, not the grid point nearest to it.
#include "lab/fit/fit.h"
#include "lab/fit/fit_state.h"
#include "lab/fit/peak.h"
#include "lab/fit/statement.h"
#include "lab/sweep_plan.h"
#include "support/series_circuit.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace lab::fit {
namespace {

using testsupport::SeriesCircuit;

Points pointsOf(const std::vector<double>& x, const std::vector<double>& y) { return {x, y}; }

double relativeError(double value, double truth) { return std::abs(value - truth) / truth; }

// Found within `tolerance` of the truth, with an uncertainty that is stated and small.
void expectFound(const Fit& fit, const char* name, double truth, double tolerance) {
    const Parameter* p = fit.parameter(QString::fromLatin1(name));
    ASSERT_NE(p, nullptr) << name;
    EXPECT_LT(relativeError(p->value, truth), tolerance) << name << " = " << p->value;
    EXPECT_GT(p->uncertainty, 0) << name;
    EXPECT_LT(p->uncertainty, tolerance * truth) << name << " ± " << p->uncertainty;
}

TEST(CircuitFits, APercentOfNoiseOnThirtyStepsGivesTheCircuitsParts) {
    // R = 100 Ω, L = 100 mH, C = 1 µF: f₀ 503.3 Hz, Q 3.16, B 159 Hz.
    const SeriesCircuit circuit;
    const auto sweep = testsupport::sweep(circuit, testsupport::logSteps(20, 1000, 30), {.relative = 0.01, .seed = 7});

    const FitResult resonance = fitPoints(Model::Resonance, pointsOf(sweep.hz, sweep.milliamps));
    ASSERT_TRUE(resonance) << resonance.failure.toStdString();
    const Fit& r = *resonance.fit;
    expectFound(r, "F0", circuit.resonanceHz(), 0.003);
    expectFound(r, "Q", circuit.quality(), 0.03);
    expectFound(r, "Bandwidth", circuit.resonanceHz() / circuit.quality(), 0.03);
    expectFound(r, "I0", circuit.millivolts / circuit.ohms, 0.03);
    EXPECT_GT(r.r2, 0.999);
    EXPECT_EQ(r.points, 30u);

    const FitResult impedance = fitPoints(Model::Impedance, pointsOf(sweep.hz, sweep.ohms));
    ASSERT_TRUE(impedance) << impedance.failure.toStdString();
    const Fit& z = *impedance.fit;
    expectFound(z, "L", circuit.henries, 0.02);
    expectFound(z, "C", circuit.farads, 0.02);
    expectFound(z, "F0", circuit.resonanceHz(), 0.003);
    expectFound(z, "R", circuit.ohms, 0.1);

    const auto phaseSweep = testsupport::sweep(circuit, testsupport::logSteps(20, 1000, 30), {.degrees = 0.5, .seed = 8});
    const FitResult phase = fitPoints(Model::Phase, pointsOf(phaseSweep.hz, phaseSweep.degrees));
    ASSERT_TRUE(phase) << phase.failure.toStdString();
    expectFound(*phase.fit, "F0", circuit.resonanceHz(), 0.003);
    expectFound(*phase.fit, "Q", circuit.quality(), 0.03);

    // What the teacher reads: the parts in their units, the curve's equation.
    const QStringList texts = parameterTexts(z, Quantity::Frequency, Quantity::Impedance);
    ASSERT_EQ(texts.size(), 4);
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("L = 10")) || texts[1].startsWith(QStringLiteral("L = 99,")))
        << texts[1].toStdString();
    EXPECT_TRUE(texts[1].endsWith(QStringLiteral("\u00A0mH"))) << texts[1].toStdString();
    EXPECT_TRUE(texts[2].startsWith(QStringLiteral("C = 1,0")) || texts[2].startsWith(QStringLiteral("C = 0,99")))
        << texts[2].toStdString();
    EXPECT_TRUE(texts[2].endsWith(QStringLiteral("\u00A0µF"))) << texts[2].toStdString();
    EXPECT_TRUE(statementOf(r, Quantity::Frequency, Quantity::Current)
                    .startsWith(QStringLiteral("rezonanční křivka: f₀ = 50")));
    EXPECT_EQ(equationOf(Model::Resonance, Quantity::Frequency, Quantity::Current),
              QStringLiteral("I = I₀ / √(1 + Q²(f/f₀ − f₀/f)²)"));

    // The names scripts read in --state.
    const QJsonObject state = fitState(r);
    EXPECT_EQ(state["Model"].toString(), QStringLiteral("resonance"));
    for (const char* key : {"F0", "F0Uncertainty", "Q", "QUncertainty", "Bandwidth", "BandwidthUncertainty", "I0",
                            "I0Uncertainty", "R2", "RMS", "Points"})
        EXPECT_TRUE(state.contains(QLatin1String(key))) << key;
    EXPECT_EQ(state["F0"].toDouble(), r.parameter("F0")->value);
    EXPECT_TRUE(fitState(z).contains(QLatin1String("CUncertainty")));
}

TEST(CircuitFits, TheMarkedPeakIsTheResonanceBetweenTheGridsPoints) {
    // R = 10 Ω, L = 100 mH, C = 10 µF resonates at 159.15 Hz; the sweep of 40
    // steps from 20 Hz to 1 kHz, in whole hertz, has its nearest point at 164 Hz.
    // The noise is the card's, the same on every point: 1 % of the current at the ends.
    const SeriesCircuit circuit{.ohms = 10, .henries = 0.1, .farads = 10e-6, .millivolts = 1000};
    std::vector<double> grid;
    for (int hz : sweepFrequencies({20, 1000, 40, true})) grid.push_back(hz);
    const auto sweep = testsupport::sweep(circuit, grid, {.milliamps = 0.015, .seed = 3});
    const Points current = pointsOf(sweep.hz, sweep.milliamps);

    const auto ofPoints = peaksOf(current);
    ASSERT_TRUE(ofPoints);
    EXPECT_EQ(ofPoints->maximum.x, 164);

    const FitResult resonance = fitPoints(Model::Resonance, current);
    ASSERT_TRUE(resonance) << resonance.failure.toStdString();
    const Peaks ofFit = peaksOf(*resonance.fit);
    EXPECT_LT(relativeError(ofFit.maximum.x, 159.15), 0.005);
    EXPECT_LT(relativeError(ofFit.maximum.y, 100), 0.002);
    // The curve's minimum is at an end of the sweep, the lower one here; no
    // point of the drawn curve is above the maximum or below the minimum.
    EXPECT_EQ(ofFit.minimum.x, 20);
    const CurveSamples drawn = curveSamples(*resonance.fit, 20, 1000, 2000, true);
    ASSERT_EQ(drawn.x.size(), 2000u);
    EXPECT_DOUBLE_EQ(drawn.x.front(), 20);
    EXPECT_DOUBLE_EQ(drawn.x.back(), 1000);
    EXPECT_NEAR(drawn.x[1000] / drawn.x[999], drawn.x[1] / drawn.x[0], 1e-12);
    for (double y : drawn.y) {
        EXPECT_LE(y, ofFit.maximum.y);
        EXPECT_GE(y, ofFit.minimum.y);
    }
    const QString maximum = maximumText(ofFit, Quantity::Frequency, Quantity::Current);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^maximum (99,9\\d|100,\\d)\u00A0mA při 15[89],\\d\u00A0Hz$"))
                    .match(maximum)
                    .hasMatch())
        << maximum.toStdString();

    // The impedance has its minimum there, of R.
    const FitResult impedance = fitPoints(Model::Impedance, pointsOf(sweep.hz, sweep.ohms));
    ASSERT_TRUE(impedance) << impedance.failure.toStdString();
    const Peaks trough = peaksOf(*impedance.fit);
    EXPECT_LT(relativeError(trough.minimum.x, 159.15), 0.005);
    EXPECT_LT(relativeError(trough.minimum.y, 10), 0.02);
}

}  // namespace
}  // namespace lab::fit
