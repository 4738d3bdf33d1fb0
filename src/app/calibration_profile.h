#pragma once
// One card's calibration profile as kept in the calibration file: the three
// factors and when they were made, and its JSON form:
//   { "AmmeterGain": 2.0, "VoltmeterGain": 2.0, "SourceGain": 1.6,
//     "Created": "2026-12-08T11:00:00Z" }
#include "measure/calibration.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

namespace app {

struct CalibrationProfile {
    measure::CalibrationFactors factors;
    QDateTime created;
};

QJsonObject profileJson(const CalibrationProfile& profile);

// Reads an entry; returns false with what is wrong in `problem` (a factor
// missing, not a number or outside 0.01 .. 100).
bool profileFromJson(const QJsonObject& json, CalibrationProfile& out, QString& problem);

}  // namespace app
