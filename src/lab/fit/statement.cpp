#include "lab/fit/statement.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace lab::fit {
namespace {


// Fixed-point at `decimals` places (a negative count rounds to tens, hundreds, ...), never "-0".
QString fixed(double value, int decimals) {
    if (decimals < 0) {
        const double step = std::pow(10.0, -decimals);
        value = std::round(value / step) * step;
        decimals = 0;
    }
    const QString text = ::lab::czechNumbers().toString(value, 'f', decimals);
    return text.startsWith(QLatin1Char('-')) && ::lab::czechNumbers().toDouble(text) == 0 ? text.mid(1) : text;
}

int decimalsForSignificant(double value, int significant) {
    if (!(std::abs(value) > 0) || !std::isfinite(value)) return significant - 1;
    return std::clamp(significant - 1 - static_cast<int>(std::floor(std::log10(std::abs(value)))), -12, 12);
}

// How a parameter is written: its symbol, its unit and the factor from its value to that unit.
struct Written {
    QString symbol;
    QString unit;
    double factor = 1;
};

bool slopeIsResistance(Quantity x, Quantity y) { return ratioUnit(y, x) == QStringLiteral("Ω"); }

Written writtenAs(const Parameter& p, Quantity x, Quantity y) {
    const QString& n = p.name;
    if (n == QLatin1String("Slope"))
        return {slopeIsResistance(x, y) ? QStringLiteral("R") : QStringLiteral("a"), ratioUnit(y, x)};
    if (n == QLatin1String("Intercept")) return {QStringLiteral("b"), unitOf(y)};
    if (n == QLatin1String("F0")) return {QStringLiteral("f₀"), unitOf(x)};
    if (n == QLatin1String("Bandwidth")) return {QStringLiteral("B"), unitOf(x)};
    if (n == QLatin1String("Q")) return {QStringLiteral("Q"), {}};
    if (n == QLatin1String("I0")) return {symbolOf(y) + QStringLiteral("₀"), unitOf(y)};
    if (n == QLatin1String("R")) return {QStringLiteral("R"), QStringLiteral("Ω")};
    if (n == QLatin1String("L"))
        return p.value >= 1 ? Written{QStringLiteral("L"), QStringLiteral("H")}
                            : Written{QStringLiteral("L"), QStringLiteral("mH"), 1e3};
    if (n == QLatin1String("C")) return {QStringLiteral("C"), QStringLiteral("µF"), 1e6};
    return {n, {}};
}

QString extremeText(const char* word, const Extreme& e, Quantity x, Quantity y) {
    return QStringLiteral("%1 %2 při %3")
        .arg(QLatin1String(word), withUnit(fixed(e.y, std::max(0, decimalsForSignificant(e.y, 4))), unitOf(y)),
             withUnit(fixed(e.x, std::max(0, decimalsForSignificant(e.x, 4))), unitOf(x)));
}

}  // namespace

QString valueWithUncertainty(double value, double uncertainty) {
    // An uncertainty in the last digits of a double is none: points exactly on the curve.
    if (!(uncertainty > 1e-12 * std::abs(value))) return fixed(value, decimalsForSignificant(value, 4)) + QStringLiteral(" ± 0");
    const double exponent = std::floor(std::log10(uncertainty));
    const double leading = uncertainty / std::pow(10.0, exponent);
    const int decimals = static_cast<int>(-exponent) + (leading < 3 ? 1 : 0);
    return fixed(value, decimals) + QStringLiteral(" ± ") + fixed(uncertainty, decimals);
}

QString equationOf(Model model, Quantity x, Quantity y) {
    const QString sx = symbolOf(x);
    const QString sy = symbolOf(y);
    const QString a = slopeIsResistance(x, y) ? QStringLiteral("R") : QStringLiteral("a");
    switch (model) {
    case Model::Line: return QStringLiteral("%1 = %2·%3 + b").arg(sy, a, sx);
    case Model::Proportional: return QStringLiteral("%1 = %2·%3").arg(sy, a, sx);
    case Model::Resonance:
        return QStringLiteral("%1 = %1₀ / √(1 + Q²(%2/f₀ − f₀/%2)²)").arg(sy, sx);
    case Model::Impedance: return QStringLiteral("%1 = √(R² + (2π%2L − 1/(2π%2C))²)").arg(sy, sx);
    case Model::Phase: return QStringLiteral("%1 = arctg(Q(%2/f₀ − f₀/%2))").arg(sy, sx);
    }
    return {};
}

QStringList parameterTexts(const Fit& fit, Quantity x, Quantity y) {
    QStringList texts;
    for (const Parameter& p : fit.parameters) {
        const Written w = writtenAs(p, x, y);
        texts << QStringLiteral("%1 = %2").arg(
            w.symbol, withUnit(valueWithUncertainty(p.value * w.factor, p.uncertainty * w.factor), w.unit));
    }
    return texts;
}

QString goodnessText(const Fit& fit, Quantity y) {
    return QStringLiteral("R² = %1, RMS reziduí %2")
        .arg(fixed(fit.r2, 5), withUnit(fixed(fit.rms, std::clamp(decimalsForSignificant(fit.rms, 2), 0, 6)), unitOf(y)));
}

QString statementOf(const Fit& fit, Quantity x, Quantity y) {
    return QStringLiteral("%1: %2; %3")
        .arg(modelName(fit.model), parameterTexts(fit, x, y).join(QStringLiteral(", ")), goodnessText(fit, y));
}

QString maximumText(const Peaks& peaks, Quantity x, Quantity y) { return extremeText("maximum", peaks.maximum, x, y); }
QString minimumText(const Peaks& peaks, Quantity x, Quantity y) { return extremeText("minimum", peaks.minimum, x, y); }

}  // namespace lab::fit
