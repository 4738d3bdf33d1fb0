#include "platform/files/file_identity.h"

#include <QFile>

#include <sys/stat.h>

namespace platform::files {

std::string nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::optional<FileIdentity> identityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return FileIdentity{st.st_dev, st.st_ino, {}, true};
    // Not there (or a dangling link): the folder it would be made in.
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || ::stat(folder.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino, name, false};
}

}  // namespace platform::files
