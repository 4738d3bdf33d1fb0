#include "platform/alsa/alsa_library_messages.h"

#include <alsa/asoundlib.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace platform::alsa {
namespace {

struct Messages {
    std::mutex lock;
    std::string last;
};

Messages& messages() {
    static Messages m;
    return m;
}

__attribute__((format(printf, 5, 6))) void keep(const char* file, int line, const char* function, int err,
                                                const char* fmt, ...) {
    char text[512];
    va_list args;
    va_start(args, fmt);
    const int n = std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    if (n < 0) return;
    std::string message = std::string(file != nullptr ? file : "?") + ":" + std::to_string(line) + " (" +
                          (function != nullptr ? function : "?") + ") " + text;
    if (err != 0) message += std::string(": ") + snd_strerror(err);
    auto& m = messages();
    std::lock_guard guard(m.lock);
    m.last = std::move(message);
}

}  // namespace

void quietAlsaLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(&keep); });
}

std::string lastAlsaLibraryMessage() {
    auto& m = messages();
    std::lock_guard guard(m.lock);
    return m.last;
}

}  // namespace platform::alsa
