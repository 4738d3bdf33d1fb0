#include "platform/files/own_temporaries.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::files {
namespace {

constexpr std::string_view kMark = ".pristroje-";
constexpr std::string_view kEnd = ".tmp";

// The host's name as it may stand in a file name.
std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
    std::string host(name);
    for (char& c : host)
        if (c == '/') c = '_';
    return host;
}

bool running(pid_t pid) { return pid == ::getpid() ? false : ::kill(pid, 0) == 0 || errno != ESRCH; }

// The pid in "<pid>@<host>" when the host is this one.
std::optional<pid_t> ourPid(std::string_view stamp, const std::string& host) {
    const std::size_t at = stamp.find('@');
    if (at == std::string_view::npos || stamp.substr(at + 1) != host) return std::nullopt;
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(stamp.data(), stamp.data() + at, pid);
    if (error != std::errc() || end != stamp.data() + at || pid <= 0) return std::nullopt;
    return pid;
}

}  // namespace

std::string temporaryName(const std::string& targetName) {
    return targetName + std::string(kMark) + std::to_string(::getpid()) + "@" + hostName() + std::string(kEnd);
}

int removeStaleTemporaries(const std::string& folder, const std::string& targetName) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return 0;
    const std::string prefix = targetName + std::string(kMark);
    const std::string host = hostName();
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() <= prefix.size() + kEnd.size() || !name.starts_with(prefix) || !name.ends_with(kEnd))
            continue;
        const auto pid = ourPid(name.substr(prefix.size(), name.size() - prefix.size() - kEnd.size()), host);
        if (!pid || running(*pid)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
        if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

}  // namespace platform::files
