#include "app/calibration/calibration_setup.h"

#include "app/calibration/calibration_session.h"
#include "app/calibration/calibration_store.h"
#include "app/calibration/calibration_window.h"
#include "app/status/setup_hint.h"
#include "app/session/session.h"
#include "mixer/audio_mixer.h"

#include <algorithm>

namespace app::calibration {

QString cardKey(const Options& options, const std::string& mixerProductName) {
    if (options.audio != QLatin1String("alsa")) return options.audio;
    const QString product =
        mixerProductName.empty() ? QStringLiteral("(no mixer)") : QString::fromStdString(mixerProductName);
    return QStringLiteral("%1 | capture %2 | playback %3").arg(product, options.inputDevice, options.outputDevice);
}

QString calibrationFile(const Options& options) {
    return options.calibrationFile.isEmpty() ? defaultCalibrationFile() : options.calibrationFile;
}

QString cardName(const Options& options, const std::string& mixerProductName, bool cardUsable) {
    if (options.audio == QLatin1String("alsa") && !cardUsable) return QStringLiteral("žádná zvuková karta");
    return cardKey(options, mixerProductName);
}

CalibrationSession& setupCalibration(session::Session& session, status::StatusLine& statusLine, QWidget& mainWindow,
                                     const Options& options) {
    CalibrationSession::Settings settings;
    settings.key = cardKey(options, session.AudioMixer1->ProductName());
    settings.name = cardName(options, session.AudioMixer1->ProductName(), !status::soundCardUnusable(session, options));
    settings.file = calibrationFile(options);
    settings.applyProfile = !options.noCalibration;
    auto* calibration = new CalibrationSession(session, statusLine, settings);  // owned by the session
    calibration->start();
    if (options.calibrate) {
        auto* window = new CalibrationWindow(*calibration, &mainWindow);
        // Beside the main window, whose client area has its design size.
        window->move(mainWindow.x() + std::max(mainWindow.width(), mainWindow.sizeHint().width()) + 16, mainWindow.y());
        window->show();
    }
    return *calibration;
}

}  // namespace app::calibration
