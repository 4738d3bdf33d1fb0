// The status line of two instances on one card: the second is told which
// instance has the card, the first that another one disturbs it, and the
// line clears when that one has gone.
#include "app/status/card_sharing.h"
#include "app/status/status_line.h"
#include "platform/wave/card_claim.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMainWindow>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::wave::CardClaim;

TEST(CardSharing, TheStatusLineSaysWhoHasTheCardAndWhoDisturbsIt) {
    QTemporaryDir dir;
    QMainWindow firstWindow, secondWindow;
    app::status::StatusLine firstLine(firstWindow), secondLine(secondWindow);
    auto first = std::make_shared<CardClaim>(dir.path(), "card 7");
    const app::status::CardSharingStatus firstStatus(firstLine, {first});
    EXPECT_EQ(firstLine.text(app::status::StatusSlot::Sharing), QString());

    auto second = std::make_shared<CardClaim>(dir.path(), "card 7");
    const QString pid = QString::number(QCoreApplication::applicationPid());
    {
        const app::status::CardSharingStatus secondStatus(secondLine, {second});
        EXPECT_TRUE(secondLine.text(app::status::StatusSlot::Sharing)
                        .startsWith(QStringLiteral("Zvukovou kartu (card 7) už používá jiná spuštěná kopie tohoto "
                                                   "programu (proces %1, od ")
                                        .arg(pid)))
            << secondLine.text(app::status::StatusSlot::Sharing).toStdString();
    }
    QDeadlineTimer deadline(5000);
    auto waitFor = [&deadline](const std::function<bool()>& done) {
        while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    };
    ASSERT_TRUE(waitFor([&] { return !firstLine.text(app::status::StatusSlot::Sharing).isEmpty(); }));
    EXPECT_TRUE(firstLine.text(app::status::StatusSlot::Sharing)
                    .startsWith(QStringLiteral("Zvukovou kartu (card 7) teď používá i jiná spuštěná kopie tohoto "
                                               "programu (proces %1, od ")
                                    .arg(pid)))
        << firstLine.text(app::status::StatusSlot::Sharing).toStdString();
    second.reset();
    EXPECT_TRUE(waitFor([&] { return firstLine.text(app::status::StatusSlot::Sharing).isEmpty(); }));
}

}  // namespace
