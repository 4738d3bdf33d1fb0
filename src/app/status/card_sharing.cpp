#include "app/status/card_sharing.h"

#include "app/card_sharing.h"
#include "app/status/status_line.h"
#include "platform/wave/card_claim.h"


namespace app::status {
namespace wave = platform::wave;

CardSharingStatus::CardSharingStatus(StatusLine& line, std::vector<std::shared_ptr<wave::CardClaim>> claims)
    : line_(line), claims_(std::move(claims)) {
    for (const auto& claim : claims_)
        claim->onChange([this, alive = std::weak_ptr<bool>(alive_)] {
            if (!alive.expired()) update();
        });
    update();
}

void CardSharingStatus::update() {
    QString text;
    for (const auto& claim : claims_)
        if (text.isEmpty()) text = cardSharingCzech(*claim);
    line_.set(StatusSlot::Sharing, text);
}

}  // namespace app::status
