#pragma once
// What the window tells the teacher when the real sound card cannot be used:
// after the mixer's own message, the status line says that there is no card
// and how to open the virtual measuring bench instead.
#include <QString>

namespace app {

struct Options;
class TForm1;

// The text, in the words the teacher reads.
QString noSoundCardHint();

// True when the program was started on the real card and the card is not
// usable: its mixer did not open, or the recorder or the player did not start.
bool soundCardUnusable(const TForm1& form, const Options& options);

// Puts the hint on the window's status line when the card is not usable;
// leaves the line alone otherwise.
void showSetupHint(TForm1& form, const Options& options);

}  // namespace app
