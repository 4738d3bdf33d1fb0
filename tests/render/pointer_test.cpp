#include "render/background.h"
#include "render/canvas.h"
#include "render/pointer.h"
#include "render/pointer_geometry.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <limits>

namespace render {
namespace {

using testing::kImageWidth;
using testing::px;
using testing::rgb;

constexpr QRgb kWhite = 0xFFFFFF;

TEST(PointerGeometry, EraseRangesRoundHalvesToEven) {
    EXPECT_EQ(halfRoundedToEven(301), 150);  // 150.5
    EXPECT_EQ(halfRoundedToEven(303), 152);  // 151.5
    EXPECT_EQ(halfRoundedToEven(-1), 0);     // -0.5
    EXPECT_EQ(halfRoundedToEven(-3), -2);    // -1.5

    const auto check = [](std::int32_t d, std::int64_t a, std::int64_t b) {
        const EraseRange r = eraseRange(d);
        EXPECT_EQ(r.first, a) << d;
        EXPECT_EQ(r.last, b) << d;
    };
    check(0, 18, 60);     // x = -44 .. 40
    check(301, 168, 210);  // 168.5, 210.5
    check(501, 268, 310);  // 268.5, 310.5
    check(std::numeric_limits<std::int32_t>::min(), -1073741806, -1073741764);
    check(std::numeric_limits<std::int32_t>::max(), 1073741842, 1073741884);
    EXPECT_EQ(eraseLineX(18), -44);
    EXPECT_EQ(eraseLineX(310), 540);
    EXPECT_EQ(rightEraseValue(290), 191);
    EXPECT_EQ(leftEraseValue(-1), 255);

    EXPECT_TRUE(erasesLeftHalf(390));
    EXPECT_FALSE(erasesLeftHalf(391));
    EXPECT_FALSE(erasesRightHalf(410));
    EXPECT_TRUE(erasesRightHalf(411));
    EXPECT_TRUE(pointerOnLeft(400));
    EXPECT_FALSE(pointerOnLeft(401));
}

// On a blank (white) bitmap the erase shows exactly which columns it repaints.
TEST(Pointer, ErasesTheOldPlaceAndTheCentreThenDrawsTheNewOne) {
    Canvas c(kImageWidth, 165);
    std::int32_t drawn = 0;
    drawPointer(c, Instrument::Ammeter, 120, drawn);
    EXPECT_EQ(drawn, 120);
    EXPECT_EQ(px(c, 0, 150), rgb(40, 40, 0));  // line i = 40 at x = 0
    EXPECT_EQ(px(c, 41, 150), rgb(60, 60, 0));  // line i = 60 at x = 40
    EXPECT_EQ(px(c, 42, 150), kWhite);
    EXPECT_EQ(px(c, 20, 133), kWhite);  // rows 134..174 only
    EXPECT_EQ(px(c, 20, 134), rgb(50, 50, 0));
    EXPECT_EQ(px(c, 339, 150), rgb(210, 210, 0));  // centre: x = 340 .. 460
    EXPECT_EQ(px(c, 462, 150), kWhite);
    EXPECT_EQ(qGreen(px(c, 120, 137)), 0);  // the apex is red
    EXPECT_GT(qRed(px(c, 120, 137)), 140);

    Canvas left(kImageWidth, 165);
    drawn = 301;
    drawPointer(left, Instrument::Voltmeter, 700, drawn);
    EXPECT_EQ(px(left, 254, 150), kWhite);
    EXPECT_EQ(px(left, 255, 150), rgb(0, 168, 168));  // x = 256, i = 168

    Canvas right(kImageWidth, 165);
    drawn = 501;
    drawPointer(right, Instrument::Source, 120, drawn);
    EXPECT_EQ(px(right, 462, 150), rgb(210, 210, 210));  // x = 462, i = 271: 225 - 271 = -46
    EXPECT_EQ(px(right, 500, 150), rgb(191, 191, 191));
    EXPECT_EQ(px(right, 541, 150), rgb(171, 171, 171));
    EXPECT_EQ(px(right, 542, 150), kWhite);

    Canvas centre(kImageWidth, 165);
    drawn = 400;
    drawPointer(centre, Instrument::Ammeter, 120, drawn);
    EXPECT_EQ(px(centre, 338, 150), kWhite);
    EXPECT_EQ(px(centre, 462, 150), kWhite);
}

TEST(Pointer, MovingLeavesTheBandAsTheBackgroundHadIt) {
    Canvas direct(kImageWidth, 165);
    drawInstrumentBackground(direct, Instrument::Ammeter);
    Canvas moved = direct;
    std::int32_t d1 = 0;
    drawPointer(direct, Instrument::Ammeter, 600, d1);

    // The left-half erase restores the band exactly and covers the whole pointer.
    std::int32_t d2 = 0;
    drawPointer(moved, Instrument::Ammeter, 300, d2);
    drawPointer(moved, Instrument::Ammeter, 600, d2);
    EXPECT_EQ(moved.image(), direct.image());

    // The right-half erase leaves the band one step brighter right of the centre.
    Canvas right(kImageWidth, 165);
    drawInstrumentBackground(right, Instrument::Ammeter);
    const QImage band = right.image();
    std::int32_t d3 = 0;
    drawPointer(right, Instrument::Ammeter, 501, d3);
    drawPointer(right, Instrument::Ammeter, 120, d3);
    EXPECT_EQ(px(right, 500, 150), rgb(191, 191, 0));
    EXPECT_EQ(qRed(band.pixel(500, 150)), 190);
    EXPECT_EQ(qRed(right.image().pixel(470, 150)), qRed(band.pixel(470, 150)) + 1);
    for (int x = 339; x <= 460; ++x)  // column 461 keeps the centre's last line
        EXPECT_EQ(right.image().pixel(x, 150), band.pixel(x, 150)) << x;
}

TEST(Pointer, OuterEdgeIsYellowAndTheFanBrightestOnTheOuterSide) {
    const auto edges = [](Instrument instrument, std::int32_t p, int row) {
        Canvas c(kImageWidth, 165);
        drawInstrumentBackground(c, instrument);
        const QImage band = c.image();
        std::int32_t drawn = 0;
        drawPointer(c, instrument, p, drawn);
        int first = -1, last = -1;
        for (int x = p - 40; x <= p + 40; ++x)
            if (c.image().pixel(x, row) != band.pixel(x, row)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        return std::tuple{px(c, first, row), px(c, first + 2, row), px(c, last - 2, row), px(c, last, row)};
    };
    // P = 400 counts as the left half: yellow on the left, red 240 -> 150.
    auto [l0, l2, r2, r0] = edges(Instrument::Ammeter, 400, 150);
    EXPECT_EQ(l0, rgb(255, 255, 0));
    EXPECT_GT(qRed(l2), qRed(r2));
    EXPECT_EQ(qGreen(r0), 0);
    // P = 401: yellow on the right, red 150 -> 240.
    std::tie(l0, l2, r2, r0) = edges(Instrument::Ammeter, 401, 150);
    EXPECT_EQ(l0, rgb(0, 0, 0));
    EXPECT_LT(qRed(l2), qRed(r2));
    EXPECT_EQ(r0, rgb(255, 255, 0));
    // The voltmeter's shorter shadow edge shows right of a left-half fan.
    std::tie(l0, l2, r2, r0) = edges(Instrument::Voltmeter, 300, 150);
    EXPECT_EQ(r0, rgb(0, 0, 0));
}

TEST(Pointer, SamePositionDrawsNothingAndAnyPositionIsSafe) {
    Canvas c(kImageWidth, 169);
    std::int32_t drawn = 0;
    drawPointer(c, Instrument::Source, 0, drawn);  // start: both 0
    EXPECT_TRUE(c.image().isNull());

    drawPointer(c, Instrument::Source, 83, drawn);
    const QImage once = c.image();
    drawPointer(c, Instrument::Source, 83, drawn);
    EXPECT_EQ(c.image(), once);

    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    for (std::int32_t p : {kMax, kMin, -30, 830, kMax})
        drawPointer(c, Instrument::Source, p, drawn);
    EXPECT_EQ(drawn, kMax);
}

}  // namespace
}  // namespace render
