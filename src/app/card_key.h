#pragma once
// What identifies the sound card in use, as the key of its calibration
// profile: on a real card the mixer's product name with the capture and
// playback devices ("HDA Intel PCH | capture default | playback default");
// the virtual drivers have keys of their own ("bench", "sim", "file").
#include "app/command_line.h"

#include <QString>
#include <string>

namespace app {

QString cardKey(const Options& options, const std::string& mixerProductName);

}  // namespace app
