#pragma once
// At start: the calibration of the card in use (its profile, --calibration,
// --no-calibration), the calibration window with --calibrate, and the bench's
// true values for --state.
#include "app/audio_setup.h"
#include "app/command_line.h"

namespace app {

class TForm1;

void setupCalibration(TForm1& form, const Options& options, const AudioSetup& audio);

}  // namespace app
