#include "app/scripting/action_families.h"

#include "app/scripting/bench_actions.h"
#include "app/scripting/calibration_actions.h"
#include "app/scripting/lab_actions.h"
#include "app/scripting/window_actions.h"

#include <array>

namespace app::scripting {

std::span<const ActionFamily> actionFamilies() {
    static const std::array<ActionFamily, 4> families{kWindowActions, kCalibrationActions, kLabActions, kBenchActions};
    return families;
}

}  // namespace app::scripting
