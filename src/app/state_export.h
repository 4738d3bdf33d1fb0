#pragma once
// The window's state as JSON, under the system's own names: controls, menu,
// measurement state, audio components, mixer, and the error texts shown.
#include <QJsonObject>
#include <QString>

namespace app {

class TForm1;

QJsonObject exportState(const TForm1& form);

// One line with the readings, for a headless run's console.
QString readoutSummary(const TForm1& form);

}  // namespace app
