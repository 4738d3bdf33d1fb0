#pragma once
// The scale of the whole window (--scale): applied through the toolkit's own
// device-pixel scaling, so that menus, panels, track bars and fonts are drawn at
// the screen's resolution, and the images render themselves at it too.
#include "app/options.h"

#include <QSize>

namespace app::window {

// Sets the scale for the application that is about to be created: must run
// before the QApplication. "auto" opens the screen once to measure it. Headless
// runs and a scale of 1 leave everything as designed.
void applyWindowScale(const Options& options, int& argc, char** argv);

// The largest factor at which a window of the design size (client area, menu
// bar and status line, plus the frame unless full screen) fits a screen of
// the given size, kept within 0.5 .. 4.
double fittingScale(QSize screen, bool fullScreen);

// The room a screen of the given size leaves for the client area of a window
// with its menu bar and status line (and its frame, unless full screen), with
// a pixel to spare for rounding to the screen's pixels.
QSize clientRoom(QSize screen, bool fullScreen);

}  // namespace app::window
