#pragma once
// The headless calibration actions (--do):
//   calibrate:ammeter=<mA>, calibrate:voltmeter=<V>, calibrate:source=<V>,
//   calibration:save, calibration:reset.
#include "app/action_family.h"

#include <QString>

namespace app::calibration {
class CalibrationSession;
}

namespace app::scripting {

bool isCalibrationAction(const QString& action);
// Their form, help and check, for the command line.
extern const ActionFamily kCalibrationActions;

// Performs one; returns the reason it is refused, or "".
QString performCalibrationAction(calibration::CalibrationSession* session, const QString& action);

}  // namespace app::scripting
