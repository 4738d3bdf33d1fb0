#pragma once
// DeviceWatch: how long a headless wait may go on for its sound. A wait
// (lab:point, a sweep) watches the sound it is waiting for: it ends at once
// when the input device fails while it waits, and when no new sound has been
// recorded for kSilenceBound seconds of waiting (a device that does not exist,
// a sound server that went away).
#include <QString>
#include <string>

namespace app::session {
class Session;
}

namespace app::scripting {

class DeviceWatch {
public:
    static constexpr double kSilenceBound = 3.0;

    explicit DeviceWatch(const session::Session& session);

    // After `seconds` more of waiting: why the wait ends because of its
    // device, or "".
    QString check(double seconds);

private:
    const session::Session& session_;
    std::string errorBefore_;
    double soundSeen_;
    double silent_ = 0;
};

}  // namespace app::scripting
