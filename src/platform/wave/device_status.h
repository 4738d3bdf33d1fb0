#pragma once
// DeviceStatus: what the wave drivers tell the user about their devices, kept
// process-wide so that the application can show it (the `audio` section of
// --state, an error line in the window): how many over- and underruns the
// drivers recovered from, per direction, and the text of the last device
// failure (a device that refused a format, disappeared or stopped delivering).
//
// Thread-safe: the real drivers report from their device threads.
#include "platform/wave/driver.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::wave {

// Over- or underruns recovered so far in this direction (capture overruns for
// Input, playback underruns for Output), over all devices and drivers.
std::uint64_t xrunCount(Direction direction);

// The last device failure in this direction, or of either direction; empty
// when there has been none. The text names the device and what happened.
std::string lastDeviceError(Direction direction);
std::string lastDeviceError();

// Reporting, for drivers. noteXrun counts one run and prints a line on stderr;
// noteDeviceError stores the text and prints it on stderr (once while the
// same text repeats).
void noteXrun(Direction direction, std::string_view device);
void noteDeviceError(Direction direction, std::string_view text);

// Devices that went away. A driver that loses a device while a stream is
// open says so (noteDeviceMissing) and, when it has the device again, says
// that too (noteDeviceBack); each return counts as one reconnect.
struct DeviceOutage {
    std::string device;                           // the PCM's name
    std::chrono::system_clock::time_point since;  // wall time the device went away
};
void noteDeviceMissing(Direction direction, std::string_view device, std::string_view reason);
void noteDeviceBack(Direction direction, std::string_view device);
// The stream of a missing device was closed: the outage ends, not counted as a return.
void noteDeviceClosed(Direction direction);
// The outage going on in this direction, if any.
std::optional<DeviceOutage> deviceOutage(Direction direction);
// The last device of this direction that came back after an outage, if any.
struct DeviceReturn {
    std::string device;
    std::chrono::system_clock::time_point at;
};
std::optional<DeviceReturn> lastDeviceReturn(Direction direction);
// Returns counted over both directions, and the time devices were missing
// (summed over both directions, the outages still going on included).
std::uint64_t reconnectCount();
double missingSeconds();

// "44100 Hz, 2 channels, 16-bit", for messages about a format.
std::string describeFormat(const WAVEFORMATEX& format);

// Back to no runs, no errors and no outages (a fresh start, and tests).
void clearDeviceStatus();

}  // namespace platform::wave
