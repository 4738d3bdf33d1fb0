#include "app/calibration_profile.h"

#include <QJsonValue>

namespace app {
namespace {

struct FactorField {
    const char* name;
    double measure::CalibrationFactors::*factor;
};

constexpr FactorField kFactorFields[] = {
    {"AmmeterGain", &measure::CalibrationFactors::AmmeterGain},
    {"VoltmeterGain", &measure::CalibrationFactors::VoltmeterGain},
    {"SourceGain", &measure::CalibrationFactors::SourceGain},
};

}  // namespace

QJsonObject profileJson(const CalibrationProfile& profile) {
    QJsonObject json;
    for (const FactorField& f : kFactorFields) json[QLatin1String(f.name)] = profile.factors.*f.factor;
    json[QLatin1String("Created")] = profile.created.toUTC().toString(Qt::ISODate);
    return json;
}

bool profileFromJson(const QJsonObject& json, CalibrationProfile& out, QString& problem) {
    CalibrationProfile profile;
    for (const FactorField& f : kFactorFields) {
        const QJsonValue v = json.value(QLatin1String(f.name));
        if (!v.isDouble()) {
            problem = QStringLiteral("%1 is missing or not a number").arg(QLatin1String(f.name));
            return false;
        }
        const double factor = v.toDouble();
        if (!(factor >= measure::kLowestGain && factor <= measure::kHighestGain)) {
            problem = QStringLiteral("%1 = %2 lies outside 0.01 .. 100").arg(QLatin1String(f.name)).arg(factor);
            return false;
        }
        profile.factors.*f.factor = factor;
    }
    profile.created = QDateTime::fromString(json.value(QLatin1String("Created")).toString(), Qt::ISODate);
    out = profile;
    return true;
}

}  // namespace app
