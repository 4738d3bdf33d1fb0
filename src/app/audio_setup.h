#pragma once
// The sound backends the program can run on, and the installation of the one
// --audio names: its wave-audio and mixer drivers, and its clock.
#include "app/options.h"

#include <QString>
#include <memory>
#include <span>
#include <vector>

namespace platform {
class VirtualClock;
}
namespace platform::wave {
class CardClaim;
}
namespace bench {
class BenchDriver;
}

namespace app {

struct AudioSetup {
    // The clock of the virtual drivers; nullptr with real devices.
    platform::VirtualClock* clock = nullptr;
    // The virtual bench, with --audio=bench (for its true values in --state).
    std::shared_ptr<bench::BenchDriver> bench;
    // Releases what the drivers hold, when the program ends.
    std::shared_ptr<void> keepAlive;
    // The real cards this instance uses, claimed against other instances of
    // the program (what each says of the other is printed on stderr; the
    // window shows it with status::CardSharingStatus).
    std::vector<std::shared_ptr<platform::wave::CardClaim>> cards;
};

// One backend: its --audio name, what it is (for --help and --list-devices),
// and what installs its drivers (false with a message when the options cannot
// be used, an unreadable input file for instance).
struct AudioBackend {
    const char* name;
    const char* description;
    bool (*install)(const Options& options, AudioSetup& out, QString& error);
};

// Every backend, the default (the real sound card) first.
std::span<const AudioBackend> audioBackends();
// The backend of that name, or nullptr.
const AudioBackend* findAudioBackend(const QString& name);
// "alsa, bench, file or sim", for messages.
QString audioBackendNames();

// Installs the drivers of options.audio (and the WAV copy of --output-wav).
bool setupAudio(const Options& options, AudioSetup& out, QString& error);

// --list-devices: the backends, then the capture and playback PCMs and the
// mixers of the real card, defaults marked.
QString listDevices();

}  // namespace app
