#pragma once

#include <QString>

namespace render {

// The window's fonts carry Windows face names. Map them onto the free fonts
// installed with the program (metric-compatible where one exists):
//   "Arial Narow CE" (the numerals of the scale faces) -> Liberation Sans Narrow
//   "Arial"                                            -> Liberation Sans
//   "Arial Narrow"                                     -> Liberation Sans Narrow
//   "Arial Black"                                      -> Liberation Sans (use it
//                                                         at the heaviest weight)
//   "MS Sans Serif", "Small Fonts"                     -> Liberation Sans
// A name that is installed under its own name is used as such; the mapping only
// applies where no installed font has the name. Call once at start, before any
// font is used. Calling it again changes nothing.
void registerFontSubstitutions();

// Character height in pixels of a font size in points, on the 96 pixels-per-inch
// basis of the window: points * 96 / 72, rounded half away from zero
// (60 pt -> 80 px, 65 pt -> 87 px, 8 pt -> 11 px).
int pointsToPixels(int points);

}  // namespace render
