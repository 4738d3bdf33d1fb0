#pragma once
// At start: the calibration of the card in use (its profile, --calibration,
// --no-calibration) and, with --calibrate, the calibration window.
//
// A card's profile is kept under a key that identifies the card: on a real
// card the mixer's product name with the capture and playback devices
// ("HDA Intel PCH | capture default | playback default"); the virtual drivers
// have keys of their own ("bench", "sim", "file").
#include "app/options.h"

#include <QString>
#include <string>

namespace app::window {
class TForm1;
}
namespace app::status {
class StatusLine;
}

namespace app::calibration {

class CalibrationSession;

QString cardKey(const Options& options, const std::string& mixerProductName);
// The card as the calibration window and the status line name it: the key,
// or "žádná zvuková karta" when the real card cannot be used.
QString cardName(const Options& options, const std::string& mixerProductName, bool cardUsable);

// The profile file of this run: --calibration, or the default file (empty
// when there is no place for one, see defaultCalibrationFile()).
QString calibrationFile(const Options& options);

// The session of this run, owned by the window; it speaks on `statusLine`.
CalibrationSession& setupCalibration(window::TForm1& form, status::StatusLine& statusLine, const Options& options);

}  // namespace app::calibration
