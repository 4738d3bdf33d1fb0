#pragma once
// The program's icon (a band meter with its pointer), drawn once as a
// scalable picture; the same drawing is installed for the desktop menu.

namespace app::window {

// Makes it the icon of every window of the program.
void setProgramIcon();

}  // namespace app::window
