// The ammeter's unit box names the unit its face is numbered in: "A" on the
// faces that count amperes (0..0.3 A and up), "mA" on 0..10 and 0..30 mA,
// whichever way the reading goes, and "mA" over a blank band.
#include "app/window/form.h"
#include "platform/mixer/sim/classic_card.h"
#include "support/rig.h"

#include <gtest/gtest.h>

namespace {

TEST(UnitBox, FollowsTheFaceThroughEveryRangeUpAndDownAndOverABlankBand) {
    testsupport::Rig rig;
    rig.useSim();
    rig.useMixers({platform::mixer::sim::classicCardTopology()});
    app::window::TForm1& form = rig.createWindow();
    const auto* box = testsupport::widget<app::window::controls::PanelControl>(form, "Panel11");
    ASSERT_NE(box, nullptr);

    // One reading in each range, 10 mA .. 30 A, and the unit its face reads in.
    struct Range {
        double milliamps;
        const char* unit;
    };
    const Range ranges[] = {{5, "mA"}, {20, "mA"}, {100, "A"}, {500, "A"}, {2000, "A"}, {5000, "A"}, {20000, "A"}};
    auto readAt = [&](double mA) {
        form.state.AmmeterValue = mA;
        form.AmmeterPass();
        return box->caption();
    };
    for (const Range& r : ranges) EXPECT_EQ(readAt(r.milliamps), QString::fromLatin1(r.unit)) << r.milliamps;
    for (auto r = std::rbegin(ranges); r != std::rend(ranges); ++r)
        EXPECT_EQ(readAt(r->milliamps), QString::fromLatin1(r->unit)) << r->milliamps << " going down";
    // Straight across the bounds the box still follows.
    EXPECT_EQ(readAt(29.99), QStringLiteral("mA"));
    EXPECT_EQ(readAt(30), QStringLiteral("A"));
    EXPECT_EQ(readAt(5), QStringLiteral("mA"));
    EXPECT_EQ(readAt(20000), QStringLiteral("A"));

    // Digital or hidden: a blank band, the box as designed; analog again: the face's unit.
    EXPECT_EQ(form.chooseMenuEntry(QStringLiteral("digitlnstdavamprmetr50Hz1")), QString());
    EXPECT_EQ(box->caption(), QStringLiteral("mA"));
    EXPECT_EQ(readAt(500), QStringLiteral("mA")) << "no face is drawn under the digital readout";
    EXPECT_EQ(form.chooseMenuEntry(QStringLiteral("rukovstejnosmrnamprmetr1")), QString());
    EXPECT_EQ(box->caption(), QStringLiteral("A"));
    EXPECT_EQ(form.chooseMenuEntry(QStringLiteral("NEZOBRAZITAMPRMETR1")), QString());
    EXPECT_EQ(box->caption(), QStringLiteral("mA"));
}

}  // namespace
