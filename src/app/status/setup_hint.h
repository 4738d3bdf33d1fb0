#pragma once
// What the window tells the teacher when the real sound card cannot be used:
// after the mixer's own message, the status line says that there is no card
// and how to open the virtual measuring bench instead, and so do the two
// empty bands of the ammeter and the voltmeter (the status line may lie
// beyond a small screen's edge, the bands are always in sight); the line
// also says where the lab is.
#include "app/status/band_note.h"

#include <QString>

namespace app {
struct Options;
}
namespace app::session {
class Session;
}

namespace app::status {

class StatusLine;

// The text, in the words the teacher reads: that there is no card, how to
// open the bench (on two lines), and where the lab is ("Měření a grafy");
// the hint is the three together, on one.
QString noSoundCardText();
QString benchText();
QString labText();
QString noSoundCardHint();

// True when the program was started on the real card and the card is not
// usable: its mixer did not open, or the recorder or the player did not start.
bool soundCardUnusable(const session::Session& session, const Options& options);

// Puts the hint on the status line and across the ammeter's and the
// voltmeter's bands when the card is not usable; leaves them alone otherwise.
void showSetupHint(const session::Session& session, const Options& options, StatusLine& line, HintBand ammeter,
                   HintBand voltmeter);

}  // namespace app::status
