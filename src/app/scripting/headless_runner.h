#pragma once
// Runs the window without a screen: the actions in order, then --run-for, then
// writes the snapshot, the images and the state. On virtual time the clock is
// advanced as fast as the machine allows, so runs repeat bit for bit.
#include "app/options.h"

#include <QString>

namespace platform {
class Idle;
class VirtualClock;
}  // namespace platform

namespace app::window {
class TForm1;
}
namespace app::calibration {
class CalibrationSession;
}
namespace app::lab {
class Lab;
}

namespace app::scripting {

class HeadlessRunner {
public:
    // clock: the drivers' virtual clock, or nullptr when real devices set the
    // pace; calibration: what the calibration actions work on (none: they are
    // refused).
    HeadlessRunner(window::TForm1& form, platform::Idle& idle, platform::VirtualClock* clock,
                   calibration::CalibrationSession* calibration);

    // Returns the process exit code: 0, or 2 for an action that cannot be done
    // (its reason on stderr), or 1 when an output cannot be written or the
    // sound input or output failed, or 128 + the signal's number when a stop
    // signal came (stop_signals.h). A failed action ends the actions (but
    // lab:export and lab:plot, which are outputs); every output that can
    // still be written is written in every case.
    int run(const Options& options);

    // Handles every queued event, then runs one idle pass.
    void pump();
    // Lets `seconds` of time pass, handling every event on the way.
    void runFor(double seconds);
    // Writes the snapshot, the images and the state the options ask for (and
    // prints the readouts); false when a file cannot be written.
    bool writeOutputs(const Options& options);
    // Why the sound did not work in this run, or "": the start ended early (no
    // mixer), or a device failed (an ALSA device that could not be opened, the
    // input or output WAV file).
    QString soundFailure() const;

    // The lab the lab:* actions work on (none: they are refused).
    void setLab(lab::Lab* lab) { lab_ = lab; }

private:
    // Performs one --do action; returns the reason it cannot be done, or "".
    QString perform(const QString& action);
    // The action writes one of the run's files (it is still done after a failure).
    static bool writesOutput(const QString& action);
    // The sound input stopped during the run: a wait saw it fail or go
    // silent, or its device went away and is still away.
    bool soundLost() const;

    window::TForm1& form_;
    platform::Idle& idle_;
    platform::VirtualClock* clock_;
    calibration::CalibrationSession* calibration_;
    lab::Lab* lab_ = nullptr;
    bool cannotWrite_ = false;  // an action's file could not be written, or its device failed (exit code 1)
    bool soundStopped_ = false; // a lab wait ended because its sound stopped
    bool found_ = false;        // an action was carried out but found a problem (exit code 2 at the end)
};

}  // namespace app::scripting
