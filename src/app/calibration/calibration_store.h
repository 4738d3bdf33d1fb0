#pragma once
// The calibration file: one JSON file with one entry per card,
//   { "Cards": { "<card key>": { "Format": 2, "AmmeterGain": 2.0, "VoltmeterGain": 2.0,
//                                "SourceGain": 1.6, "Created": "2026-12-08T11:00:00Z" },
//                ... } }
// in $XDG_CONFIG_HOME/pristroje/calibration.json unless told otherwise.
//
// Reading never changes the file. Only a regular file of at most 1 MiB is
// read (a FIFO or a device is refused without waiting for it). Saving takes a
// lock beside the file, reads it again, replaces one card's entry, keeps
// everything else, and replaces the file only once the new one is completely
// written (through the file guard); on any failure the file stays exactly as
// it was. It is written indented, or compact when indented it would exceed
// the 1 MiB a profile file may have, and not at all when even that would. It replaces only
// a regular file, or the regular file a symlink leads to when that holds a
// readable profile. A file that cannot be read is not saved over; one that
// can be read but not understood is first kept beside it
// (calibration.json.broken-<UTC time>).
#include "app/run_files.h"
#include "measure/calibration/calibration.h"

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

// Profile files larger than this are refused; the store never writes one.
inline constexpr qint64 kLargestCalibrationFile = 1024 * 1024;

// The profile file's owner for the file guard (platform/files): the one
// write that may replace it.
using app::kProfileOwner;

// Where the profiles live by default (through QStandardPaths); empty when
// there is no usable place: neither XDG_CONFIG_HOME nor HOME is an absolute
// path (a relative XDG_CONFIG_HOME is ignored, as the XDG rules say).
QString defaultCalibrationFile();

struct CalibrationFileContents {
    bool exists = false;
    QString error;  // empty: read and understood (or no file)
    std::map<QString, CalibrationProfile> cards;
};

CalibrationFileContents readCalibrationFile(const QString& path);

// Writes `profile` as the entry of `key`, or removes that entry when there is
// none. Returns what went wrong, or an empty string. `keptAs` receives the
// name of the copy of a file that could not be understood, if one was made.
QString saveCalibrationEntry(const QString& path, const QString& key, const std::optional<CalibrationProfile>& profile,
                             QString* keptAs = nullptr);

}  // namespace app::calibration
