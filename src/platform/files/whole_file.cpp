#include "platform/files/whole_file.h"

#include "platform/files/descriptor_device.h"
#include "platform/files/file_identity.h"
#include "platform/files/guarded_files.h"
#include "platform/files/own_temporaries.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::files {
namespace {

struct Target {
    std::string folder;
    std::string name;
    bool keepMode = false;  // a regular file is replaced: the new one gets its permissions
    mode_t mode = 0;
};

// What is at `native` now; refuses anything but a regular file, a link to
// one or to nothing, and a new name. Nothing is opened.
WriteOutcome examine(const std::string& native, const QString& path, const QString& owner, Target& target) {
    struct stat st {};
    if (::lstat(native.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            struct stat led {};
            const int followed = ::stat(native.c_str(), &led);
            if (followed == 0 && !S_ISREG(led.st_mode)) return notRegularFault(kindOfMode(led.st_mode), true);
            if (followed != 0 && errno != ENOENT) return systemFault(errno);  // a loop of links
        } else if (!S_ISREG(st.st_mode)) {
            return notRegularFault(kindOfMode(st.st_mode), false);
        } else {
            // A file its owner made read-only is theirs to keep.
            if (::access(native.c_str(), W_OK) != 0) return systemFault(errno);
            target.keepMode = true;
            target.mode = st.st_mode & 07777;
        }
    } else if (errno != ENOENT) {
        return systemFault(errno);
    }
    if (const auto guarded = guardedFileAt(path, owner)) {
        WriteOutcome out;
        out.fault = WriteFault::Guarded;
        out.guardedEnglish = guarded->english;
        out.guardedCzech = guarded->czech;
        return out;
    }
    const std::size_t slash = native.find_last_of('/');
    target.folder = slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
    target.name = slash == std::string::npos ? native : native.substr(slash + 1);
    if (target.name.empty() || target.name == "." || target.name == "..") return notRegularFault(FileKind::Folder, false);
    return {};
}

// Makes the rename itself durable; a file system that cannot sync a folder
// (EINVAL) has nothing to make durable.
int syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return 0;  // the rename is done; a folder we may not read cannot be synced
    const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error;
}

}  // namespace

WriteOutcome checkWriteTarget(const QString& path, const QString& owner) {
    if (path.isEmpty()) return faultOf(WriteFault::NoName);
    Target target;
    return examine(nativePath(path), path, owner, target);
}

WriteOutcome writeWholeFile(const QString& path, const std::function<bool(QIODevice&)>& write, const QString& owner) {
    if (path.isEmpty()) return faultOf(WriteFault::NoName);
    const std::string native = nativePath(path);
    Target target;
    if (WriteOutcome out = examine(native, path, owner, target); !out.ok()) return out;

    removeStaleTemporaries(target.folder, target.name);
    const std::string temporary = target.folder + "/" + temporaryName(target.name);
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0666);
    if (fd < 0) return systemFault(errno);
    auto fail = [&](WriteOutcome out) {
        if (fd >= 0) ::close(fd);
        ::unlink(temporary.c_str());
        return out;
    };
    if (target.keepMode && ::fchmod(fd, target.mode) != 0) return fail(systemFault(errno));

    DescriptorDevice device(fd);
    device.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    const bool written = write(device);
    device.close();
    if (device.error() != 0) return fail(systemFault(device.error()));
    if (!written) return fail(faultOf(WriteFault::Contents));
    if (::fsync(fd) != 0) return fail(systemFault(errno));
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR) return fail(systemFault(errno));

    // Something else may have taken the name meanwhile (a FIFO made in its
    // place): look again just before the rename.
    Target again;
    if (WriteOutcome out = examine(native, path, owner, again); !out.ok()) return fail(out);
    if (::rename(temporary.c_str(), native.c_str()) != 0) return fail(systemFault(errno));
    if (const int error = syncFolder(target.folder); error != 0) return systemFault(error);
    return {};
}

WriteOutcome writeWholeFile(const QString& path, const QByteArray& contents, const QString& owner) {
    return writeWholeFile(
        path, [&contents](QIODevice& device) { return device.write(contents) == contents.size(); }, owner);
}

}  // namespace platform::files
