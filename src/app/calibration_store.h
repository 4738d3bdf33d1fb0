#pragma once
// The calibration file: one JSON file with one entry per card,
//   { "Cards": { "<card key>": { profile, see calibration_profile.h }, ... } }
// in $XDG_CONFIG_HOME/pristroje/calibration.json unless told otherwise.
// Reading never changes the file; saving replaces one card's entry atomically
// and keeps everything else the file holds.
#include "app/calibration_profile.h"

#include <QString>
#include <map>
#include <optional>

namespace app {

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

}  // namespace app
