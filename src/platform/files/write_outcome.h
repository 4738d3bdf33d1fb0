#pragma once
// What became of a write through the file guard, and the one set of texts
// that says why a file was not written: English for stderr, Czech for the
// window (the system's reason, strerror, in both).
#include "platform/files/regular_file.h"

#include <QString>

namespace platform::files {

enum class WriteFault {
    None,        // written whole
    NoName,      // an empty file name
    NotRegular,  // a folder, a FIFO, a device (or a link to one): not opened, not replaced
    Guarded,     // one of the run's inputs or other outputs, or the profile file
    System,      // the system refused a step (`error`): the old file is as it was
    Contents,    // the contents could not be made (a picture that would not encode)
};

struct WriteOutcome {
    WriteFault fault = WriteFault::None;
    FileKind kind = FileKind::Missing;  // NotRegular: what the name leads to
    bool link = false;                  // NotRegular: through a symlink
    QString guardedEnglish;             // Guarded: what the file is
    QString guardedCzech;
    int error = 0;                      // System: errno

    bool ok() const { return fault == WriteFault::None; }

    // Why the file was not written, as the end of "cannot write F: ..." /
    // "Tabulku nelze uložit do F: ..."; empty when it was.
    QString english() const;
    QString czech() const;
};

WriteOutcome faultOf(WriteFault fault);
WriteOutcome systemFault(int error);
WriteOutcome notRegularFault(FileKind kind, bool link);

// "it is a FIFO, not a regular file" and "je to roura (FIFO), ne obyčejný
// soubor", also for files that are read.
QString notRegularEnglish(FileKind kind, bool link = false);
QString notRegularCzech(FileKind kind, bool link = false);

}  // namespace platform::files
