#pragma once
// Which file a name leads to, as the system knows it, so that two names can
// be told to be one file whatever their spelling: a symlink, a hard link,
// "./a" and "a" all lead to the same identity.
#include <QString>

#include <optional>
#include <string>
#include <sys/types.h>

namespace platform::files {

struct FileIdentity {
    // An existing file: its device and inode (through symlinks). A name that
    // does not exist yet: its folder's device and inode with the last part
    // of the name, so that two outputs not yet written still meet.
    dev_t device = 0;
    ino_t inode = 0;
    std::string name;  // empty for an existing file
    bool exists = false;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of `path`, or none when not even its folder exists.
std::optional<FileIdentity> identityOf(const std::string& path);

// The path as the system takes it (QFile::encodeName).
std::string nativePath(const QString& path);

}  // namespace platform::files
