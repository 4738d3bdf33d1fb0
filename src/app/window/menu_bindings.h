#pragma once
// The click handlers of the menu entries, by the names the window definition binds.
#include <QObject>

namespace app::window {

class TForm1;
using MenuHandler = void (TForm1::*)(QObject* Sender);

// The handler of that name, or nullptr for "" and unknown names.
MenuHandler menuHandler(const char* name);

}  // namespace app::window
