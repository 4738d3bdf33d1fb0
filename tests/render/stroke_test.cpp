#include "render/stroke.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace render {
namespace {

using Pixels = std::set<std::pair<std::int64_t, std::int64_t>>;  // (x, y)

Pixels pixelsOf(const Stroke& s) {
    Pixels out;
    for (std::int64_t y = s.firstRow(); y <= s.lastRow(); ++y)
        if (const auto c = s.columns(y))
            for (std::int64_t x = c->first; x <= c->last; ++x)
                out.insert({x, y});
    return out;
}

TEST(Stroke, VerticalWidthThreeIsAFullRectangleOneRowBeyondEachEnd) {
    const Pixels p = pixelsOf(Stroke(400, 10, 400, 128, 3));
    EXPECT_EQ(p.size(), 3u * (129 - 9 + 1));
    for (std::int64_t y = 9; y <= 129; ++y)
        for (std::int64_t x = 399; x <= 401; ++x)
            EXPECT_TRUE(p.count({x, y})) << x << "," << y;
    // Direction does not matter.
    EXPECT_EQ(pixelsOf(Stroke(400, 128, 400, 10, 3)), p);
}

TEST(Stroke, WideTicksEndOneRowBeyondTheirEndPointsWithRoundedCorners) {
    // Width 8, rows 85..127: columns x-4..x+3 in rows 85..127 and 5 columns in
    // rows 84 and 128, so the tick stays inside the face band's rows 9..129.
    const Stroke tick(510, 85, 510, 127, 8);
    EXPECT_EQ(tick.firstRow(), 84);
    EXPECT_EQ(tick.lastRow(), 128);
    for (std::int64_t y : {84, 128}) {
        ASSERT_TRUE(tick.columns(y));
        EXPECT_EQ(tick.columns(y)->first, 508);
        EXPECT_EQ(tick.columns(y)->last, 512);
    }
    EXPECT_EQ(tick.columns(85)->first, 506);
    EXPECT_EQ(tick.columns(85)->last, 513);
    EXPECT_FALSE(tick.columns(83));
    EXPECT_FALSE(tick.columns(129));

    // Width 5: five columns, three at the end rows.
    const Stroke minor(73, 100, 73, 127, 5);
    EXPECT_EQ(minor.firstRow(), 99);
    EXPECT_EQ(minor.lastRow(), 128);
    EXPECT_EQ(minor.columns(99)->first, 72);
    EXPECT_EQ(minor.columns(99)->last, 74);
    EXPECT_EQ(minor.columns(110)->first, 71);
    EXPECT_EQ(minor.columns(110)->last, 75);

    // Width 4: four columns x-2..x+1.
    EXPECT_EQ(Stroke(0, 0, 0, 10, 4).columns(5)->first, -2);
    EXPECT_EQ(Stroke(0, 0, 0, 10, 4).columns(5)->last, 1);

    // Horizontal lines are the same shape turned: rows y-4..y+3, columns a-1..b+1.
    const Stroke flat(10, 50, 40, 50, 8);
    EXPECT_EQ(flat.firstRow(), 46);
    EXPECT_EQ(flat.lastRow(), 53);
    EXPECT_EQ(flat.columns(50)->first, 9);
    EXPECT_EQ(flat.columns(50)->last, 41);
    EXPECT_EQ(flat.columns(46)->first, 10);
}

TEST(Stroke, SlantedLinesAreUnbrokenAndIndependentOfDirection) {
    // The pointer's edges and fan lines.
    for (int dx : {-37, -36, -20, 0, 4, 36, 38}) {
        const Stroke s(200, 137, 200 + dx, 173, 4);
        EXPECT_EQ(pixelsOf(Stroke(200 + dx, 173, 200, 137, 4)), pixelsOf(s)) << dx;
        std::optional<Stroke::Columns> prev;
        for (std::int64_t y = 137; y <= 173; ++y) {
            const auto c = s.columns(y);
            ASSERT_TRUE(c) << dx << " row " << y;
            const std::int64_t width = c->last - c->first + 1;
            if (y > 138 && y < 172) {  // away from the ends
                EXPECT_GE(width, 4);
                EXPECT_LE(width, 6);  // 4 * sqrt(1 + (dx/36)^2) at most ~5.8
            }
            if (prev) {  // consecutive rows overlap: no holes in the line
                EXPECT_LE(c->first, prev->last + 1);
                EXPECT_GE(c->last, prev->first - 1);
            }
            prev = c;
        }
    }
}

TEST(Stroke, ADotIsASquareOfThePenWidthAndTinyPensCountAsOne) {
    EXPECT_EQ(pixelsOf(Stroke(5, 5, 5, 5, 3)).size(), 9u);
    const Pixels thin = pixelsOf(Stroke(5, 2, 5, 4, 0));
    EXPECT_EQ(thin, (Pixels{{5, 2}, {5, 3}, {5, 4}}));
}

}  // namespace
}  // namespace render
