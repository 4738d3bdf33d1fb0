#include "app/scripting/stop_signals.h"

#include <csignal>

namespace app::scripting {
namespace {

volatile std::sig_atomic_t caught = 0;

extern "C" void noteStopSignal(int signal) {
    if (caught == 0) caught = signal;  // the first one is the reason
}

}  // namespace

void installStopSignals() {
    struct sigaction action {};
    action.sa_handler = noteStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

int stopSignal() { return caught; }

const char* stopSignalName(int signal) {
    switch (signal) {
        case SIGTERM: return "SIGTERM";
        case SIGINT: return "SIGINT";
        case SIGHUP: return "SIGHUP";
        default: return "a signal";
    }
}

}  // namespace app::scripting
