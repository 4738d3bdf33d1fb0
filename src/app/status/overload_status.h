#pragma once
// The line input's overload on the status line: while a channel of the card
// reaches full scale, what the instrument reads is not to be trusted, and the
// teacher is told which instrument it is and to lower the amplitude. Said
// while a card's profile promises true values (the reference arithmetic reads
// as it always did).
#include <QString>

namespace app::window {
class TForm1;
}

namespace app::status {

class StatusLine;

// The text for the two channels' overload (empty: nothing to say).
QString overloadText(bool current, bool voltage);

class OverloadStatus {
public:
    OverloadStatus(const window::TForm1& form, StatusLine& line);

    // Follows the last reading; cheap when nothing changed (every idle pass).
    void update();

private:
    const window::TForm1& form_;
    StatusLine& line_;
};

}  // namespace app::status
