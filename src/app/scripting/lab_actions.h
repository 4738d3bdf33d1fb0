#pragma once
// The lab's --do actions:
//   lab:record=start|stop        record a point at every block (or lab:interval)
//   lab:interval=S               seconds between recorded points (0: every block)
//   lab:point                    one point from a settled reading (waits for it)
//   lab:clear                    forget the points (lab:undo brings them back)
//   lab:delete=N                 delete row N of the table (from 1)
//   lab:undo, lab:redo           undo or redo the last deletion
//   lab:run=new, lab:run=name:T  begin a run; name the current one
//   lab:sweep=FROM..TO/STEPS/log|lin   a frequency sweep; the run waits for its end
//   lab:graph=Y:X[:lin|logx|logy|loglog]   the graph (quantities by their `circuit` keys)
//   lab:fit[=MODEL]              a fitted curve per run (line, proportional, resonance, impedance, phase)
//   lab:waveforms=freeze|run     hold the waveforms still, or let them run
//   lab:dialect=semicolon|comma  the CSV dialect of lab:export (default: the locale's)
//   lab:export=FILE.csv          the table
//   lab:plot=FILE.png|FILE.svg   the graph as shown
//   lab:report=FILE.pdf          the laboratory protocol
#include "app/action_family.h"

#include <QString>
#include <functional>

namespace app::lab {
class Lab;
}

namespace app::scripting {

bool isLabAction(const QString& action);
// "" when the action reads as a lab action, else what is wrong with it.
QString checkLabActionSyntax(const QString& action);
// Their form, help and check, for the command line.
extern const ActionFamily kLabActions;

struct LabActionResult {
    QString problem;          // "" when done
    bool cannotWrite = false; // the problem is a file that cannot be written
    // The action was carried out and found a problem (a sweep's flagged
    // steps): the run goes on, writes what it was asked to, and ends with 2.
    bool carriedOut = false;
    // A wait ended because its sound device failed or went silent (exit code 1).
    bool deviceFailed = false;
    // A wait ended because a stop signal came (the problem is empty).
    bool stopped = false;
};

// `runFor` lets seconds of (virtual) time pass, handling every event. The
// waits for a point or a sweep are bounded by DeviceWatch and by the stop
// signals.
LabActionResult performLabAction(lab::Lab& lab, const QString& action, const std::function<void(double)>& runFor);

}  // namespace app::scripting
