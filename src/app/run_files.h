#pragma once
// The files one run reads and writes, checked before anything is opened and
// then handed to the file guard (platform/files/guarded_files.h), which keeps
// every later write off them: no output may be one of the inputs or another
// output (the same file by identity, so a symlink or a hard link to it counts
// too), nor the profile file; the WAV output must be a regular file or not
// exist yet (a FIFO or a device such as /dev/full is refused). The lab's
// files named by --do lab:export / lab:plot are checked against them here
// too, so such a run is refused before it starts.
//
// Each guarded file's owner is the option that writes it ("--state",
// "--snapshot", "--images", "--output-wav"; the profile file's is the
// calibration store's, kProfileOwner): a write passes its owner to the guard.
#include "app/options.h"

#include <QString>

namespace app {

// The profile file's owner for the file guard: the calibration store's save,
// the one write that may replace it.
inline const QString kProfileOwner = QStringLiteral("--calibration");

// Why these files cannot be used together, or "" (and then they are
// guarded for the rest of the run). `calibrationFile` is the profile file
// this run reads (empty: none).
QString checkRunFiles(const Options& options, const QString& calibrationFile);

}  // namespace app
