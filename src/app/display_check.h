#pragma once
// Whether the window system the toolkit will use has a display to show on,
// checked before the application object is made (without one the X11
// backend ends the process). The platform is the one asked for (-platform,
// QT_QPA_PLATFORM, a list separated by ';' tried in order) or the default,
// Wayland or X11.
#include <QString>
#include <QStringList>

namespace app {

// Why no window can be shown ("" when one can), for a line on stderr.
QString missingDisplay(const QStringList& arguments);

}  // namespace app
