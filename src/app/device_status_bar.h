#pragma once
// A status line under the window, shown only when the sound devices have
// something to say: recovered over- and underruns, and the last device
// failure (a device that refused a format, disappeared or stopped).
#include <QTimer>

class QMainWindow;

namespace app {

class DeviceStatusBar : public QObject {
public:
    explicit DeviceStatusBar(QMainWindow& window);

private:
    void refresh();

    QMainWindow& window_;
    QTimer timer_;
    QString shown_;
};

}  // namespace app
