#pragma once
// The status line's word on two instances of the program on one sound card
// (the texts: app/card_sharing.h).
#include <QString>

#include <memory>
#include <vector>

namespace platform::wave {
class CardClaim;
}

namespace app::status {

class StatusLine;

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
