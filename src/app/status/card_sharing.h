#pragma once
// Two instances of the program on one sound card (platform/wave/card_claim.h):
// the second is told who has the card, the first that its output is
// disturbed and by whom. English for stderr, Czech for the status line.
#include <QString>

#include <memory>
#include <vector>

namespace platform::wave {
class CardClaim;
}

namespace app::status {

class StatusLine;

// What the claim has to say, or "" while this instance is alone on its card.
QString cardSharingEnglish(const platform::wave::CardClaim& claim);
QString cardSharingCzech(const platform::wave::CardClaim& claim);

// Prints the English text on stderr now (when there is one) and whenever it
// changes (also when the others have gone).
void reportCardSharing(platform::wave::CardClaim& claim);

// Keeps the Czech text of the claims on the status line's Sharing slot.
class CardSharingStatus {
public:
    CardSharingStatus(StatusLine& line, std::vector<std::shared_ptr<platform::wave::CardClaim>> claims);
    CardSharingStatus(const CardSharingStatus&) = delete;
    CardSharingStatus& operator=(const CardSharingStatus&) = delete;

private:
    void update();

    StatusLine& line_;
    std::vector<std::shared_ptr<platform::wave::CardClaim>> claims_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);  // the claims may outlive this
};

}  // namespace app::status
