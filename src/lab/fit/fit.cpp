#include "lab/fit/fit.h"

#include "lab/fit/curves.h"
#include "lab/fit/least_squares.h"
#include "lab/fit/line_fits.h"
#include "lab/fit/starting_values.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace lab::fit {
namespace {

constexpr double kLeastR2 = 0.2;

std::size_t parameterCount(Model model) {
    const Curve* curve = curveOf(model);
    return curve ? curve->count : model == Model::Line ? 2 : 1;
}

FitResult failed(QString why) { return {std::nullopt, std::move(why)}; }

QString tooFew(Model model, std::size_t needed, std::size_t have) {
    return QStringLiteral("Pro proložení %1 jsou potřeba aspoň %2 body (použitelné: %3).")
        .arg(modelGenitive(model))
        .arg(needed)
        .arg(have);
}

// R² and the residuals' RMS of the fit's curve through the points.
void measureGoodness(Fit& fit, const UsedPoints& points) {
    double meanY = 0;
    for (double y : points.y) meanY += y;
    meanY /= static_cast<double>(points.size());
    double residual = 0, total = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double r = points.y[i] - fit.at(points.x[i]);
        residual += r * r;
        total += (points.y[i] - meanY) * (points.y[i] - meanY);
    }
    fit.r2 = total > 0 ? 1 - residual / total : residual > 0 ? 0.0 : 1.0;
    fit.rms = std::sqrt(residual / static_cast<double>(points.size()));
}

bool allFinite(const Fit& fit) {
    return std::isfinite(fit.r2) && std::isfinite(fit.rms) &&
           std::all_of(fit.parameters.begin(), fit.parameters.end(), [](const Parameter& p) {
               return std::isfinite(p.value) && std::isfinite(p.uncertainty);
           });
}

// The curve's parameters with their uncertainties from θ and its covariance
// (the residual variance over n − p times (JᵀJ)⁻¹); a value is e^θ, so its
// uncertainty is the value times that of θ.
std::vector<Parameter> curveParameters(const Curve& curve, const LeastSquares& solution, std::size_t n,
                                       double& largestLogUncertainty) {
    const std::size_t p = curve.count;
    const double variance = solution.residualSquares / static_cast<double>(n - p);
    auto logVariance = [&](const Theta& w) {
        double sum = 0;
        for (std::size_t r = 0; r < p; ++r)
            for (std::size_t c = 0; c < p; ++c) sum += w[r] * solution.inverse[r * p + c] * w[c];
        return variance * sum;
    };
    std::vector<Parameter> parameters;
    largestLogUncertainty = 0;
    for (std::size_t k = 0; k < p; ++k) {
        Theta unit{};
        unit[k] = 1;
        const double u = std::sqrt(logVariance(unit));
        largestLogUncertainty = std::max(largestLogUncertainty, u);
        const double value = std::exp(solution.theta[k]);
        parameters.push_back({QString::fromLatin1(curve.names[k]), value, value * u});
    }
    for (const DerivedParameter& derived : curve.derived) {
        double log = derived.offset;
        for (std::size_t k = 0; k < p; ++k) log += derived.weights[k] * solution.theta[k];
        const double value = std::exp(log);
        parameters.push_back({QString::fromLatin1(derived.name), value, value * std::sqrt(logVariance(derived.weights))});
    }
    return parameters;
}

FitResult fitCurve(const Curve& curve, Fit fit, const UsedPoints& points) {
    const QString of = modelGenitive(curve.model);
    if (fit.xMin <= 0) return failed(QStringLiteral("Pro proložení %1 musí mít všechny body kladný kmitočet.").arg(of));
    if (curve.reciprocal && !std::all_of(points.y.begin(), points.y.end(), [](double y) { return y > 0; }))
        return failed(QStringLiteral("Pro proložení %1 musí být všechny hodnoty kladné.").arg(of));
    const std::optional<Theta> starts[] = {curve.start(points), curve.start(medianOfThree(points))};
    if (!starts[0] && !starts[1])
        return failed(QStringLiteral("Z bodů nelze odhadnout, odkud začít proložení %1.").arg(of));
    std::optional<LeastSquares> best;
    for (std::size_t i = 0; i < std::size(starts); ++i) {
        if (!starts[i] || (i > 0 && starts[i] == starts[0])) continue;
        LeastSquaresOutcome outcome = leastSquares(curve, points, *starts[i]);
        if (outcome.solution && (!best || outcome.solution->residualSquares < best->residualSquares))
            best = std::move(outcome.solution);
    }
    if (!best)
        return failed(QStringLiteral("Proložení %1 se nepodařilo: body takovému průběhu neodpovídají.").arg(of));
    double largestLogUncertainty = 0;
    fit.parameters = curveParameters(curve, *best, points.size(), largestLogUncertainty);
    measureGoodness(fit, points);
    const bool finiteValues = std::isfinite(fit.r2) && std::all_of(fit.parameters.begin(), fit.parameters.end(),
                                                                    [](const Parameter& p) { return std::isfinite(p.value); });
    if (!finiteValues) return failed(QStringLiteral("Proložení %1 nedalo konečná čísla.").arg(of));
    const Parameter* centre = fit.parameter(QString::fromLatin1(curve.centre));
    if (!(centre->value >= fit.xMin && centre->value <= fit.xMax))
        return failed(QStringLiteral("Proložení %1 dalo f₀ mimo změřené kmitočty: změřte i okolí rezonance.").arg(of));
    // An uncertainty above the value itself: the points do not tell the parameter.
    if (!(largestLogUncertainty <= 1) || !allFinite(fit))
        return failed(QStringLiteral("Body neurčují parametry %1: nejistota je větší než hodnota.").arg(of));
    // A curve that explains less of the points' spread than it leaves has run
    // off to a limit of its shape (Q → 0 over a flat record), not found one.
    if (fit.r2 < kLeastR2)
        return failed(QStringLiteral("Body nemají tvar %1 (R² = %2).")
                          .arg(of, QLocale(QLocale::Czech).toString(fit.r2, 'f', 2)));
    return {std::move(fit), {}};
}

}  // namespace

double Fit::at(double x) const {
    const auto valueOf = [this](std::size_t k) { return k < parameters.size() ? parameters[k].value : 0.0; };
    switch (model) {
    case Model::Line: return valueOf(0) * x + valueOf(1);
    case Model::Proportional: return valueOf(0) * x;
    default: break;
    }
    const Curve* curve = curveOf(model);
    Theta theta{};
    for (std::size_t k = 0; k < curve->count; ++k) theta[k] = std::log(valueOf(k));
    const double value = curve->value(x, theta.data(), nullptr);
    return curve->reciprocal ? 1 / value : value;
}

const Parameter* Fit::parameter(const QString& name) const {
    for (const Parameter& p : parameters)
        if (p.name == name) return &p;
    return nullptr;
}

FitResult fitPoints(Model model, const Points& points) {
    const UsedPoints used = usedPoints(points);
    const std::size_t needed = parameterCount(model) + 1;
    if (used.size() < needed) return failed(tooFew(model, needed, used.size()));
    if (used.distinctX() < 2)
        return failed(QStringLiteral("Všechny body mají stejnou hodnotu na vodorovné ose: pro proložení %1 "
                                     "jsou potřeba aspoň dvě různé.")
                          .arg(modelGenitive(model)));
    Fit fit;
    fit.model = model;
    fit.points = used.size();
    fit.xMin = used.minX();
    fit.xMax = used.maxX();
    if (const Curve* curve = curveOf(model)) return fitCurve(*curve, std::move(fit), used);

    fit.parameters = model == Model::Line ? lineParameters(used) : proportionalParameters(used);
    measureGoodness(fit, used);
    if (!allFinite(fit)) return failed(QStringLiteral("Proložení %1 nedalo konečná čísla.").arg(modelGenitive(model)));
    return {std::move(fit), {}};
}

CurveSamples curveSamples(const Fit& fit, double from, double to, int count, bool logarithmic) {
    CurveSamples samples;
    if (count < 2) return samples;
    samples.x.reserve(static_cast<std::size_t>(count));
    samples.y.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / (count - 1);
        const double x = logarithmic ? from * std::pow(to / from, t) : from + (to - from) * t;
        samples.x.push_back(x);
        samples.y.push_back(fit.at(x));
    }
    return samples;
}

}  // namespace lab::fit
