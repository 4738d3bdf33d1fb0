#pragma once
// The sound library prints its own diagnostics on stderr ("ALSA lib ...:
// cannot find card '0'"), several lines for one failure that the driver
// reports itself in one clear line. quietAlsaLibrary() routes them here
// instead: they are kept (the last one can be asked for) and not printed.
// Called by every ALSA driver before its first ALSA call; safe to call often.
#include <string>

namespace platform::alsa {

void quietAlsaLibrary();

// The last message the sound library gave, empty when none.
std::string lastAlsaLibraryMessage();

}  // namespace platform::alsa
