#pragma once
// What the window tells the teacher when the real sound card cannot be used:
// after the mixer's own message, the status line says that there is no card
// and how to open the virtual measuring bench instead, and so do the two
// empty bands of the ammeter and the voltmeter (the status line may lie
// beyond a small screen's edge, the bands are always in sight).
#include <QString>

namespace app {
struct Options;
}
namespace app::window {
class TForm1;
}

namespace app::status {

class StatusLine;

// The text, in the words the teacher reads: that there is no card, and how
// to open the bench (on two lines); the hint is the two together, on one.
QString noSoundCardText();
QString benchText();
QString noSoundCardHint();

// True when the program was started on the real card and the card is not
// usable: its mixer did not open, or the recorder or the player did not start.
bool soundCardUnusable(const window::TForm1& form, const Options& options);

// Puts the hint on the status line and the bands when the card is not usable;
// leaves the window alone otherwise.
void showSetupHint(window::TForm1& form, const Options& options, StatusLine& line);

}  // namespace app::status
