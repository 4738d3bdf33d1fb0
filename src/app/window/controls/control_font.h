#pragma once
#include "app/window/window_definition.h"

#include <QFont>

namespace app::window::controls {

// The Qt font for a font of the window definition: the family as named (the
// substitutions registered at start map the Windows names to installed fonts),
// the character height in pixels, bold or regular.
QFont controlFont(const FontDef& def);

}  // namespace app::window::controls
