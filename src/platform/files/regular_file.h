#pragma once
// Files the user names on the command line (a WAV input or output, a profile
// file) are opened only when they are regular files, a symlink to one
// included. A FIFO, a device or a folder is refused without waiting for it: a
// FIFO with no writer never blocks a start, and no device is written over.
// (Files the program writes whole go through the guard, whole_file.h.)
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace platform::files {

enum class FileKind { Missing, Regular, Folder, Fifo, Device, Other };

// What `path` names, through symlinks (Missing also for a dangling link).
FileKind fileKind(const std::string& path);
// What a stat's st_mode says the file is.
FileKind kindOfMode(mode_t mode);
// "a folder", "a FIFO", "a device", ... for messages.
const char* fileKindText(FileKind kind);

struct OpenedFile {
    int fd = -1;                      // open, close-on-exec and blocking; -1 when not opened
    FileKind kind = FileKind::Missing;
    int error = 0;                    // errno of a failed open
    std::int64_t size = 0;            // bytes, when opened
};

// Opens a regular file for reading (`write`: for reading and writing,
// created when missing). Anything else is not opened; `kind` says what it is.
OpenedFile openRegularFile(const std::string& path, bool write = false);

// The reason an OpenedFile was not opened, in English, for driver messages.
std::string openProblem(const OpenedFile& file);

}  // namespace platform::files
