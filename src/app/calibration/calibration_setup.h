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

class QWidget;

namespace app::session {
class Session;
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

// The calibration of this run, owned by the session; it speaks on
// `statusLine`, and with --calibrate its window opens beside `mainWindow`.
CalibrationSession& setupCalibration(session::Session& session, status::StatusLine& statusLine, QWidget& mainWindow,
                                     const Options& options);

}  // namespace app::calibration
