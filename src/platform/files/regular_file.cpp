#include "platform/files/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::files {
FileKind kindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return FileKind::Regular;
    if (S_ISDIR(mode)) return FileKind::Folder;
    if (S_ISFIFO(mode)) return FileKind::Fifo;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return FileKind::Device;
    return FileKind::Other;
}

FileKind fileKind(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return FileKind::Missing;
    return kindOfMode(st.st_mode);
}

const char* fileKindText(FileKind kind) {
    switch (kind) {
        case FileKind::Missing: return "missing";
        case FileKind::Regular: return "a regular file";
        case FileKind::Folder: return "a folder";
        case FileKind::Fifo: return "a FIFO";
        case FileKind::Device: return "a device";
        case FileKind::Other: return "not a regular file";
    }
    return "";
}

OpenedFile openRegularFile(const std::string& path, bool write) {
    OpenedFile out;
    // Something that is not a regular file is not even opened (a device may
    // act on an open); O_NONBLOCK covers a FIFO put in its place meanwhile.
    out.kind = fileKind(path);
    if (out.kind != FileKind::Regular && out.kind != FileKind::Missing) return out;
    const int flags = (write ? O_RDWR | O_CREAT : O_RDONLY) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        out.error = errno;
        out.kind = fileKind(path);
        return out;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        out.error = errno;
        ::close(fd);
        return out;
    }
    out.kind = kindOfMode(st.st_mode);
    const int status = out.kind == FileKind::Regular ? ::fcntl(fd, F_GETFL) : -1;
    if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) < 0) {
        if (out.kind == FileKind::Regular) out.error = errno;
        ::close(fd);
        return out;
    }
    out.fd = fd;
    out.size = static_cast<std::int64_t>(st.st_size);
    return out;
}

std::string openProblem(const OpenedFile& file) {
    if (file.fd >= 0) return {};
    if (file.kind != FileKind::Regular && file.kind != FileKind::Missing)
        return std::string("it is ") + fileKindText(file.kind) + ", not a regular file";
    return std::strerror(file.error != 0 ? file.error : ENOENT);
}

}  // namespace platform::files
