#pragma once
// Two instances of the program on one sound card (platform/wave/card_claim.h):
// the second is told who has the card, the first that its output is
// disturbed and by whom. English for stderr, Czech for the status line
// (status/card_sharing.h keeps it there).
#include <QString>

namespace platform::wave {
class CardClaim;
}

namespace app {

// What the claim has to say, or "" while this instance is alone on its card.
QString cardSharingEnglish(const platform::wave::CardClaim& claim);
QString cardSharingCzech(const platform::wave::CardClaim& claim);

// Prints the English text on stderr now (when there is one) and whenever it
// changes (also when the others have gone).
void reportCardSharing(platform::wave::CardClaim& claim);

}  // namespace app
