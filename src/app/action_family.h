#pragma once
// A family of --do actions (the window's menu/track/wait, calibration, the
// lab): which actions are its own, the check of their form, the lines of
// --help (and so of the manual) that describe them, and the time an action
// lets pass. The families are defined where their actions are performed
// (app/scripting) and handed to the command line, so that the parser, the
// help text and the runner read the same table.
#include <QString>

namespace app {

struct ActionFamily {
    // The forms of its actions, for a message about an unknown one.
    const char* forms;
    // Lines for --help, each "  action    what it does".
    const char* help;
    // True for the actions of this family (by their prefix).
    bool (*owns)(const QString& action);
    // "" when the action is well formed, else what is wrong with it.
    QString (*check)(const QString& action);
    // Seconds of time a well-formed action lets pass (0 for most), so that a
    // run's waits can be added up before it starts.
    double (*seconds)(const QString& action) = nullptr;
};

}  // namespace app
