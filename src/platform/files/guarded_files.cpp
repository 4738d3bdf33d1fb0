#include "platform/files/guarded_files.h"

#include "platform/files/file_identity.h"
#include "platform/files/regular_file.h"

#include <mutex>

namespace platform::files {
namespace {

std::mutex guardMutex;
std::vector<GuardedFile> guarded;

}  // namespace

void guardFiles(std::vector<GuardedFile> files) {
    const std::lock_guard lock(guardMutex);
    guarded = std::move(files);
}

std::vector<GuardedFile> guardedFiles() {
    const std::lock_guard lock(guardMutex);
    return guarded;
}

std::optional<GuardedFile> guardedFileAt(const QString& path, const QString& owner) {
    const auto target = identityOf(nativePath(path));
    if (!target) return std::nullopt;
    for (const GuardedFile& file : guardedFiles()) {
        if (file.path.isEmpty() || (!owner.isEmpty() && file.owner == owner)) continue;
        const std::string native = nativePath(file.path);
        const FileKind kind = fileKind(native);
        if (kind != FileKind::Regular && kind != FileKind::Missing) continue;
        if (identityOf(native) == target) return file;
    }
    return std::nullopt;
}

}  // namespace platform::files
