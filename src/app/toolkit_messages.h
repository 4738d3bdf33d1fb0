#pragma once
// Qt prints a few messages of its own that tell a teacher nothing and that
// every run without a desktop session would repeat: that the runtime
// directory is not set (Qt then makes a private one itself, as it should),
// and, on the offscreen platform of headless runs, that size hints cannot be
// passed to a window manager. quietToolkitMessages() leaves those out; every
// other message goes where it went before. Call it first thing in main().
#include <QString>

namespace app {

void quietToolkitMessages();

// True for the messages left out.
bool isToolkitNoise(const QString& message);

}  // namespace app
