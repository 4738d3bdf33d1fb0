#pragma once
// The --do actions on the main window, as a user would do them:
//   menu:<entry name>              choose a menu entry as a click would
//   track:<TrackBar1|TrackBar2>=N  move a track bar to position N
//   wait:<seconds>                 let time pass
#include "app/action_family.h"

#include <QString>
#include <functional>

namespace app::window {
class TForm1;
}

namespace app::scripting {

// Their form, help and check, for the command line.
extern const ActionFamily kWindowActions;

// Performs one: `pump` handles the events it causes, `runFor` lets seconds of
// (virtual) time pass. Returns the reason it cannot be done, or "".
QString performWindowAction(window::TForm1& form, const QString& action, const std::function<void()>& pump,
                            const std::function<void(double)>& runFor);

}  // namespace app::scripting
