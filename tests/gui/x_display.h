#pragma once
// The X server of the window tests (PRISTROJE_GUI_DISPLAY, started by the
// test script) and the X tools run on it as a user's hands and eyes.
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace gui {

// The display's name, "" when the script started none.
QString xDisplay();
// The environment of a program on that display.
QProcessEnvironment xEnvironment();
// Runs an X tool (xdotool, import) on the display; its output, trimmed.
QString xTool(const QString& program, const QStringList& arguments);
QString xdotool(const QStringList& arguments);

}  // namespace gui
