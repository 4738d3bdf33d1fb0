#include "app/calibration/calibration_json.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>
#include <QLocale>

#include <cmath>

namespace app::calibration {
namespace {

const QLatin1String kCards("Cards");
const QLatin1String kFormat("Format");

struct FactorField {
    const char* name;
    double measure::CalibrationFactors::*factor;
};

constexpr FactorField kFactorFields[] = {
    {"AmmeterGain", &measure::CalibrationFactors::AmmeterGain},
    {"VoltmeterGain", &measure::CalibrationFactors::VoltmeterGain},
    {"SourceGain", &measure::CalibrationFactors::SourceGain},
};

// Reads an entry; false with what is wrong in `problem` (a factor missing,
// not a number or outside 0.01 .. 100).
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
            // The number as the file has it: 100.0000001 is not "100".
            problem = QStringLiteral("%1 = %2 lies outside 0.01 .. 100")
                          .arg(QLatin1String(f.name), QString::number(factor, 'g', QLocale::FloatingPointShortest));
            return false;
        }
        profile.factors.*f.factor = factor;
    }
    profile.created = QDateTime::fromString(json.value(QLatin1String("Created")).toString(), Qt::ISODate);
    // No format: the first one, before there was a format.
    const QJsonValue format = json.value(kFormat);
    if (!format.isUndefined() && !(format.isDouble() && format.toDouble() == std::floor(format.toDouble()) &&
                                   format.toDouble() >= 1 && format.toDouble() <= 1000)) {
        problem = QStringLiteral("Format is not a whole number from 1");
        return false;
    }
    profile.format = format.isUndefined() ? 1 : format.toInt();
    profile.factors.OnTrueRms = profile.format >= 2;
    out = profile;
    return true;
}

}  // namespace

QJsonObject profileJson(const CalibrationProfile& profile) {
    QJsonObject json;
    for (const FactorField& f : kFactorFields) json[QLatin1String(f.name)] = profile.factors.*f.factor;
    json[QLatin1String("Created")] = profile.created.toUTC().toString(Qt::ISODate);
    json[kFormat] = profile.format;
    return json;
}

bool parseRoot(const QByteArray& bytes, QJsonObject& root, QString& error) {
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("not valid JSON at offset %1: %2").arg(parseError.offset).arg(parseError.errorString());
        return false;
    }
    if (!doc.isObject()) {
        error = QStringLiteral("the top level is not a JSON object");
        return false;
    }
    root = doc.object();
    if (root.contains(kCards) && !root.value(kCards).isObject()) {
        error = QStringLiteral("\"Cards\" is not a JSON object");
        return false;
    }
    return true;
}

bool readCards(const QJsonObject& root, std::map<QString, CalibrationProfile>& cards, QString& error) {
    const QJsonObject table = root.value(kCards).toObject();
    bool allValid = true;
    for (auto it = table.begin(); it != table.end(); ++it) {
        CalibrationProfile profile;
        QString problem;
        if (!it.value().isObject() || !profileFromJson(it.value().toObject(), profile, problem)) {
            if (allValid)
                error = QStringLiteral("the entry \"%1\": %2")
                            .arg(it.key(), problem.isEmpty() ? QStringLiteral("not a JSON object") : problem);
            allValid = false;
            continue;
        }
        cards.emplace(it.key(), profile);
    }
    return allValid;
}

QJsonObject withValidCards(QJsonObject root, const std::map<QString, CalibrationProfile>& valid) {
    QJsonObject table = root.value(kCards).toObject();
    for (auto it = table.begin(); it != table.end();)
        it = valid.count(it.key()) != 0 ? it + 1 : table.erase(it);
    root[kCards] = table;
    return root;
}

}  // namespace app::calibration
