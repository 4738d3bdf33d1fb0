#pragma once
// Runs the window without a screen: the actions in order, then --run-for, then
// writes the snapshot, the images and the state. On virtual time the clock is
// advanced as fast as the machine allows, so runs repeat bit for bit.
#include "app/command_line.h"

namespace platform {
class Idle;
class VirtualClock;
}  // namespace platform

namespace app {

class TForm1;

class HeadlessRunner {
public:
    // clock: the drivers' virtual clock, or nullptr when real devices set the pace.
    HeadlessRunner(TForm1& form, platform::Idle& idle, platform::VirtualClock* clock);

    // Returns the process exit code: 0, or 2 for an action that cannot be done
    // (its reason on stderr), or 1 when an output file cannot be written.
    int run(const Options& options);

    // Handles every queued event, then runs one idle pass.
    void pump();
    // Lets `seconds` of time pass, handling every event on the way.
    void runFor(double seconds);
    // Performs one --do action; returns the reason it cannot be done, or "".
    QString perform(const QString& action);
    // Writes the snapshot, the images and the state the options ask for (and
    // prints the readouts); false when a file cannot be written.
    bool writeOutputs(const Options& options);

private:

    TForm1& form_;
    platform::Idle& idle_;
    platform::VirtualClock* clock_;
};

}  // namespace app
