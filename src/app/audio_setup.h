#pragma once
// Chooses and configures the wave-audio and mixer drivers for --audio.
#include "app/command_line.h"

#include <memory>

namespace platform {
class VirtualClock;
namespace wave {
class BenchDriver;
}
}  // namespace platform

namespace app {

struct AudioSetup {
    // The clock of the virtual drivers; nullptr with real devices.
    platform::VirtualClock* clock = nullptr;
    // The virtual bench, with --audio=bench (for its true values in --state).
    std::shared_ptr<platform::wave::BenchDriver> bench;
    // Releases what the drivers hold, when the program ends.
    std::shared_ptr<void> keepAlive;
};

// Installs the drivers of options.audio. Returns false with a message when the
// configuration cannot be used (an unreadable input file, for instance).
bool setupAudio(const Options& options, AudioSetup& out, QString& error);

// --list-devices: the capture and playback PCMs and the mixers, defaults marked.
QString listDevices();

}  // namespace app
