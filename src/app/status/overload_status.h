#pragma once
// The line input's overload on the status line: while a channel of the card
// reaches full scale, what the instrument reads is not to be trusted, and the
// teacher is told which instrument it is and to lower the amplitude. Said
// while a card's profile promises true values (the reference arithmetic reads
// as it always did).
#include <QObject>
#include <QString>

namespace app::session {
class Session;
}

namespace app::status {

class StatusLine;

class OverloadStatus : public QObject {
public:
    // Follows the session's readings and calibration; owned by the line.
    OverloadStatus(const session::Session& session, StatusLine& line);

    void update();

private:
    const session::Session& session_;
    StatusLine& line_;
};

}  // namespace app::status
