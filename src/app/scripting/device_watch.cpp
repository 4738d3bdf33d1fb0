#include "app/scripting/device_watch.h"

#include "app/session/session.h"
#include "platform/wave/device_status.h"

namespace app::scripting {

namespace wave = platform::wave;

DeviceWatch::DeviceWatch(const session::Session& session)
    : session_(session),
      errorBefore_(wave::lastDeviceError(wave::Direction::Input)),
      soundSeen_(session.readingHistory.recorded()) {}

QString DeviceWatch::check(double seconds) {
    if (const std::string error = wave::lastDeviceError(wave::Direction::Input); error != errorBefore_)
        return QStringLiteral("the sound input failed: %1").arg(QString::fromStdString(error));
    const double sound = session_.readingHistory.recorded();
    if (sound > soundSeen_) {
        soundSeen_ = sound;
        silent_ = 0;
        return {};
    }
    silent_ += seconds;
    if (silent_ < kSilenceBound) return {};
    const QString nothing = QStringLiteral("no sound was recorded for %1 s").arg(kSilenceBound);
    if (const auto outage = wave::deviceOutage(wave::Direction::Input))
        return QStringLiteral("%1: the sound input '%2' went away").arg(nothing, QString::fromStdString(outage->device));
    if (const std::string error = wave::lastDeviceError(); !error.empty())
        return QStringLiteral("%1: %2").arg(nothing, QString::fromStdString(error));
    return nothing;
}

}  // namespace app::scripting
