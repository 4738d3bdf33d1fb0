#pragma once
// The scale of the whole window (--scale): applied through the toolkit's own
// device-pixel scaling, so that menus, panels, track bars and fonts are drawn at
// the screen's resolution, and the images render themselves at it too.
#include "app/options.h"

namespace app::window {

// Sets the scale for the application that is about to be created: must run
// before the QApplication. "auto" opens the screen once to measure it. Headless
// runs and a scale of 1 leave everything as designed.
void applyWindowScale(const Options& options, int& argc, char** argv);

// The largest factor at which a window of the design size (client area plus
// menu bar, plus the frame unless full screen) fits a screen of the given size,
// kept within 0.5 .. 4.
double fittingScale(int screenWidth, int screenHeight, int menuBarHeight, bool fullScreen);

}  // namespace app::window
