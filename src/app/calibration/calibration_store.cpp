#include "app/calibration/calibration_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSaveFile>
#include <QStandardPaths>
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

QJsonObject profileJson(const CalibrationProfile& profile) {
    QJsonObject json;
    for (const FactorField& f : kFactorFields) json[QLatin1String(f.name)] = profile.factors.*f.factor;
    json[QLatin1String("Created")] = profile.created.toUTC().toString(Qt::ISODate);
    json[kFormat] = profile.format;
    return json;
}

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
            problem = QStringLiteral("%1 = %2 lies outside 0.01 .. 100").arg(QLatin1String(f.name)).arg(factor);
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

// The file's root object; false with the reason when it is not one of ours.
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

}  // namespace

QString defaultCalibrationFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("pristroje/calibration.json"));
}

CalibrationFileContents readCalibrationFile(const QString& path) {
    CalibrationFileContents out;
    QFile file(path);
    if (!file.exists()) return out;
    out.exists = true;
    if (!file.open(QIODevice::ReadOnly)) {
        out.error = file.errorString();
        return out;
    }
    QJsonObject root;
    if (!parseRoot(file.readAll(), root, out.error)) return out;
    const QJsonObject cards = root.value(kCards).toObject();
    for (auto it = cards.begin(); it != cards.end(); ++it) {
        CalibrationProfile profile;
        QString problem;
        if (!it.value().isObject() || !profileFromJson(it.value().toObject(), profile, problem)) {
            out.error = QStringLiteral("the entry \"%1\": %2")
                            .arg(it.key(), problem.isEmpty() ? QStringLiteral("not a JSON object") : problem);
            out.cards.clear();
            return out;
        }
        out.cards.emplace(it.key(), profile);
    }
    return out;
}

QString saveCalibrationEntry(const QString& path, const QString& key,
                             const std::optional<CalibrationProfile>& profile) {
    QJsonObject root;
    {
        QFile existing(path);
        QString ignored;
        if (existing.open(QIODevice::ReadOnly) && !parseRoot(existing.readAll(), root, ignored)) root = {};
    }
    QJsonObject cards = root.value(kCards).toObject();
    if (profile)
        cards[key] = profileJson(*profile);
    else
        cards.remove(key);
    root[kCards] = cards;

    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) return QStringLiteral("cannot create the folder %1").arg(dir);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    if (!file.commit()) return file.errorString();
    return {};
}

}  // namespace app::calibration
