#pragma once
// The sound devices' part of the window's status line, set only when they have
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
};

}  // namespace app
