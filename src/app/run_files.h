#pragma once
// The files one run reads and writes, checked before anything is opened: no
// output may be one of the inputs (the same file by identity, so a symlink or
// a hard link to it counts too), and the WAV output must be a regular file or
// not exist yet (a FIFO or a device such as /dev/full is refused).
#include "app/options.h"

#include <QString>

namespace app {

// Why these files cannot be used together, or "". `calibrationFile` is the
// profile file this run reads (empty: none).
QString checkRunFiles(const Options& options, const QString& calibrationFile);

}  // namespace app
