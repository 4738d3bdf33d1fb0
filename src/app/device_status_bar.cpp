#include "app/device_status_bar.h"

#include "app/status_line.h"
#include "platform/wave/device_status.h"

#include <QMainWindow>

namespace app {

DeviceStatusBar::DeviceStatusBar(QMainWindow& window) : QObject(&window), window_(window) {
    connect(&timer_, &QTimer::timeout, this, &DeviceStatusBar::refresh);
    timer_.start(1000);  // the drivers report from their own threads; a look once a second
}

void DeviceStatusBar::refresh() {
    namespace wave = platform::wave;
    const auto overruns = wave::xrunCount(wave::Direction::Input);
    const auto underruns = wave::xrunCount(wave::Direction::Output);
    const std::string error = wave::lastDeviceError();
    QString text;
    if (!error.empty()) text = QString::fromStdString(error);
    if (overruns + underruns > 0) {
        if (!text.isEmpty()) text += QStringLiteral("   ");
        text += QStringLiteral("recording overruns: %1, playback underruns: %2").arg(overruns).arg(underruns);
    }
    StatusLine::of(window_).set(StatusSlot::Devices, text);
}

}  // namespace app
