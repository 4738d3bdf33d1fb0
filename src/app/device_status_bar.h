#pragma once
// The sound devices' part of the window's status line, set only when they have
// something to say: a device that went away (which one, since when) and, for
// a few seconds, that it is back; recovered over- and underruns; and the last
// device failure (a device that refused a format or could not start).
#include <QString>
#include <QTimer>

#include <chrono>

class QMainWindow;

namespace app {

class DeviceStatusBar : public QObject {
public:
    explicit DeviceStatusBar(QMainWindow& window);

    // The text for the devices' state now (empty: nothing to say).
    static QString text(std::chrono::system_clock::time_point now);

private:
    void refresh();

    QMainWindow& window_;
    QTimer timer_;
};

}  // namespace app
