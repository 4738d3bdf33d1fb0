#pragma once
// The window's state as JSON, under the system's own names: the session's
// part (measurement state, audio components, mixer, errors, the circuit, the
// bench's true values, and what the status line, the calibration and the lab
// add) with the window's controls and menu.
#include <QJsonObject>
#include <QString>

namespace app::window {
class TForm1;
}

namespace app::scripting {

QJsonObject exportState(const window::TForm1& form);

// One line with the readings, for a headless run's console; "no reading"
// when the start ended early.
QString readoutSummary(const window::TForm1& form);

}  // namespace app::scripting
