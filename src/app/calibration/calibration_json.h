#pragma once
// The JSON of the calibration file (calibration_store.h): its root object,
// the "Cards" table and one card's entry.
#include "app/calibration/calibration_store.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <map>

namespace app::calibration {

QJsonObject profileJson(const CalibrationProfile& profile);

// The file's root object; false with the reason when it is not one of ours.
bool parseRoot(const QByteArray& bytes, QJsonObject& root, QString& error);

// The valid entries of the root's "Cards"; false with the reason of the first
// entry that is not one (the others are read all the same).
bool readCards(const QJsonObject& root, std::map<QString, CalibrationProfile>& cards, QString& error);

// The root with only the valid entries in "Cards" (the other keys kept).
QJsonObject withValidCards(QJsonObject root, const std::map<QString, CalibrationProfile>& valid);

}  // namespace app::calibration
