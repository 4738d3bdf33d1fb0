#pragma once
// The file guard: every file the program writes (the lab's CSV and pictures,
// --state, --snapshot, --images, the profile file) is written here, whole or
// not at all.
//
//  - The contents go into a temporary beside the file (own_temporaries.h),
//    are flushed to the disk (fsync), and only then take the file's name
//    (rename). A failure at any step (a full disk, a file-size limit, a
//    folder that cannot be written) removes the temporary and leaves the old
//    file exactly as it was; the reason is the system's (strerror).
//  - Only a regular file or a new name is replaced. A folder, a FIFO or a
//    device, or a symlink to one, is refused without being opened. An
//    existing file that its owner made read-only is not replaced either.
//  - A symlink to a regular file is replaced itself: the new file takes the
//    link's place and the file it led to is not touched. Nothing is ever
//    written through a link into a file the program did not make; a profile
//    kept behind a link is the calibration store's own affair (it hands the
//    guard the file the link leads to once it has read it as a profile).
//  - Never over a guarded file (guarded_files.h): the run's inputs, its other
//    outputs, the profile file, by identity.
//  - Stale temporaries of the same file (a program killed between writing
//    and renaming) are removed first.
//
// No QSaveFile around or inside it: this is the one place that commits files.
#include "platform/files/write_outcome.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QIODevice;

namespace platform::files {

// Whether `path` may be written by `owner` (see guardedFileAt): the checks
// of writeWholeFile without writing anything.
WriteOutcome checkWriteTarget(const QString& path, const QString& owner = {});

// `write` writes the contents into the device and says whether it could.
WriteOutcome writeWholeFile(const QString& path, const std::function<bool(QIODevice&)>& write,
                            const QString& owner = {});
WriteOutcome writeWholeFile(const QString& path, const QByteArray& contents, const QString& owner = {});

}  // namespace platform::files
