#include "app/card_sharing.h"

#include "platform/wave/card_claim.h"

#include <QStringList>
#include <cstdio>

namespace app {
namespace {

namespace wave = platform::wave;

QString pidsOf(const std::vector<wave::CardUser>& users) {
    QStringList pids;
    for (const wave::CardUser& user : users) pids << QString::number(user.pid);
    return pids.join(QStringLiteral(", "));
}

QString sinceOf(const wave::CardUser& user) { return user.since.toString(QStringLiteral("HH:mm:ss")); }

}  // namespace

QString cardSharingEnglish(const wave::CardClaim& claim) {
    if (!claim.ours()) {
        if (!claim.holder()) return {};
        return QStringLiteral("the sound card '%1' is in use by another instance of this program (pid %2, since %3): "
                              "both generators play into the same card and disturb each other's readings")
            .arg(claim.card())
            .arg(claim.holder()->pid)
            .arg(sinceOf(*claim.holder()));
    }
    if (claim.guests().empty()) return {};
    return QStringLiteral("another instance of this program (pid %1, since %2) now uses the sound card '%3' too: "
                          "its generator disturbs this run's readings")
        .arg(pidsOf(claim.guests()), sinceOf(claim.guests().front()), claim.card());
}

QString cardSharingCzech(const wave::CardClaim& claim) {
    if (!claim.ours()) {
        if (!claim.holder()) return {};
        return QStringLiteral("Zvukovou kartu (%1) už používá jiná spuštěná kopie tohoto programu (proces %2, od %3): "
                              "generátory obou hrají do stejné karty a navzájem si ruší měření.")
            .arg(claim.card())
            .arg(claim.holder()->pid)
            .arg(sinceOf(*claim.holder()));
    }
    if (claim.guests().empty()) return {};
    return QStringLiteral("Zvukovou kartu (%1) teď používá i jiná spuštěná kopie tohoto programu (%2 %3, od %4): "
                          "její generátor ruší toto měření.")
        .arg(claim.card(), claim.guests().size() == 1 ? QStringLiteral("proces") : QStringLiteral("procesy"),
             pidsOf(claim.guests()), sinceOf(claim.guests().front()));
}

void reportCardSharing(wave::CardClaim& claim) {
    auto print = [&claim](bool always) {
        const QString text = cardSharingEnglish(claim);
        if (!text.isEmpty() || !always)
            std::fprintf(stderr, "pristroje: %s\n",
                         (text.isEmpty() ? QStringLiteral("the sound card '%1' is this instance's alone again")
                                               .arg(claim.card())
                                         : text)
                             .toLocal8Bit()
                             .constData());
    };
    print(true);
    claim.onChange([print] { print(false); });
}

}  // namespace app
