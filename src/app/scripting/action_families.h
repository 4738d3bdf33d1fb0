#pragma once
// Every family of --do actions, in the order --help lists them: the window's
// (menu, track, wait), calibration's and the lab's.
#include "app/action_family.h"

#include <span>

namespace app::scripting {

std::span<const ActionFamily> actionFamilies();

}  // namespace app::scripting
