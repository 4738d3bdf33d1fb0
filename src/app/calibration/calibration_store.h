#pragma once
// The calibration file: one JSON file with one entry per card,
//   { "Cards": { "<card key>": { "AmmeterGain": 2.0, "VoltmeterGain": 2.0,
//                                "SourceGain": 1.6, "Created": "2026-12-08T11:00:00Z" },
//                ... } }
// in $XDG_CONFIG_HOME/pristroje/calibration.json unless told otherwise.
// Reading never changes the file; saving replaces one card's entry atomically
// and keeps everything else the file holds.
#include "measure/calibration.h"

#include <QDateTime>
#include <QString>
#include <map>
#include <optional>

namespace app::calibration {

// One card's profile: the three factors and when they were made.
struct CalibrationProfile {
    measure::CalibrationFactors factors;
    QDateTime created;
};

// Where the profiles live by default (through QStandardPaths).
QString defaultCalibrationFile();

struct CalibrationFileContents {
    bool exists = false;
    QString error;  // empty: read and understood (or no file)
    std::map<QString, CalibrationProfile> cards;
};

CalibrationFileContents readCalibrationFile(const QString& path);

// Writes `profile` as the entry of `key`, or removes that entry when there is
// none. The other cards' entries stay; a file that cannot be understood is
// replaced. Returns what went wrong, or an empty string.
QString saveCalibrationEntry(const QString& path, const QString& key, const std::optional<CalibrationProfile>& profile);

}  // namespace app::calibration
