#pragma once
// The calibration file: one JSON file with one entry per card,
//   { "Cards": { "<card key>": { "Format": 2, "AmmeterGain": 2.0, "VoltmeterGain": 2.0,
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

// One card's profile: the three factors and when they were made. Profiles of
// format 2 (the current one) hold factors on the true RMS; an entry without a
// format was made by an earlier version, whose factors scaled the reference
// arithmetic: it is read, but the program does not apply it.
struct CalibrationProfile {
    measure::CalibrationFactors factors;
    QDateTime created;
    int format = kProfileFormat;

    static constexpr int kProfileFormat = 2;
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
