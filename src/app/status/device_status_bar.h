#pragma once
// The sound devices' part of the window's status line, set only when they have
// something to say: a device that went away (which one, since when) and, for
// a few seconds, that it is back; recovered over- and underruns; and the last
// device failure (a device that refused a format or could not start).
#include <QString>
#include <QTimer>

#include <chrono>

namespace app::session {
class Session;
}

namespace app::status {

class StatusLine;

class DeviceStatusBar : public QObject {
public:
    // Speaks on `line`, and is owned by it; follows the session's word that
    // a device's state changed.
    DeviceStatusBar(const session::Session& session, StatusLine& line);

    // The text for the devices' state now (empty: nothing to say).
    static QString text(std::chrono::system_clock::time_point now);

private:
    void refresh();

    StatusLine& line_;
    QTimer expiry_;  // when "it is back" is to go from the line
};

}  // namespace app::status
