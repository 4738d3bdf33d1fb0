#include "render/canvas.h"
#include "render/fonts.h"
#include "render/stroke.h"
#include "test_images.h"

#include <QFont>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace render {
namespace {

using testing::px;
using testing::rgb;

TEST(Canvas, BitmapAppearsAtTheFirstDrawingWhiteAndOfExactSize) {
    Canvas c(800, 165);
    EXPECT_TRUE(c.image().isNull());
    c.moveTo(10, 10);  // moving the pen draws nothing
    EXPECT_TRUE(c.image().isNull());
    c.lineTo(10, 10);
    ASSERT_FALSE(c.image().isNull());
    EXPECT_EQ(c.image().size(), QSize(800, 165));
    EXPECT_EQ(c.image().format(), QImage::Format_RGB32);
    EXPECT_EQ(px(c, 799, 164), rgb(255, 255, 255));
    EXPECT_EQ(px(c, 10, 10), rgb(0, 0, 0));
    EXPECT_EQ(c.penPosition(), QPoint(10, 10));
}

TEST(Canvas, WidthThreeLinePaintsThreeColumnsAndOneRowBeyondEachEnd) {
    Canvas c(800, 165);
    c.setPenWidth(3);
    c.setPenColor(qRgb(1, 2, 3));
    c.line(400, 10, 400, 128);
    for (int y = 0; y < 165; ++y)
        for (int x = 396; x <= 404; ++x) {
            const bool inside = x >= 399 && x <= 401 && y >= 9 && y <= 129;
            EXPECT_EQ(px(c, x, y), inside ? rgb(1, 2, 3) : rgb(255, 255, 255)) << x << "," << y;
        }
}

TEST(Canvas, EverythingOutsideTheBitmapIsClipped) {
    Canvas c(800, 10);
    c.setPenWidth(3);
    c.line(800, 1, 800, 8);  // only column 799 shows
    EXPECT_EQ(px(c, 799, 5), rgb(0, 0, 0));
    EXPECT_EQ(px(c, 798, 5), rgb(255, 255, 255));
    c.line(-2000000000, -5, 2000000000, 500);  // far outside both ways
    c.line(100, -100, 100, -2);                // ends one row above the top: nothing shows
    EXPECT_EQ(px(c, 100, 0), rgb(255, 255, 255));
    c.textOut(2000000000, 2000000000, QStringLiteral("0"));
    c.textOut(-2000000000, -2000000000, QStringLiteral("0"));
    Canvas empty(0, 0);
    empty.line(0, 0, 5, 5);
    empty.textOut(0, 0, QStringLiteral("x"));
    EXPECT_TRUE(empty.image().isNull());
}

// Every line paints exactly the pixels of its pen shape, clipped at every
// edge, and nothing else.
TEST(Canvas, EveryLinePaintsExactlyItsPenShapeClippedAtEveryEdge) {
    constexpr int kWidth = 120;
    constexpr int kHeight = 60;
    std::mt19937 random(7);
    auto coordinate = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    struct Line {
        int x1, y1, x2, y2, width;
    };
    std::vector<Line> lines;
    for (int k = 0; k < 300; ++k)
        lines.push_back({coordinate(-20, kWidth + 20), coordinate(-20, kHeight + 20), coordinate(-20, kWidth + 20),
                         coordinate(-20, kHeight + 20), coordinate(0, 9)});
    lines.push_back({5, 3, 5, 3, 4});         // a dot
    lines.push_back({-5000, 10, 5000, 12, 3}); // long and flat
    lines.push_back({40, -300, 40, 300, 3});   // through the whole image
    auto check = [&](const Line& l, const char* when) {
        Canvas c(kWidth, kHeight);
        c.setPenWidth(l.width);
        c.line(l.x1, l.y1, l.x2, l.y2);
        const Stroke stroke(l.x1, l.y1, l.x2, l.y2, l.width);
        for (int y = 0; y < kHeight; ++y) {
            const auto cols = stroke.columns(y);
            for (int x = 0; x < kWidth; ++x) {
                const bool inside = cols && x >= cols->first && x <= cols->last;
                ASSERT_EQ(px(c, x, y), inside ? rgb(0, 0, 0) : rgb(255, 255, 255))
                    << when << ": line " << l.x1 << "," << l.y1 << " - " << l.x2 << "," << l.y2 << " width "
                    << l.width << " at " << x << "," << y;
            }
        }
    };
    for (const Line& l : lines) check(l, "drawn");
}

TEST(Canvas, TextPositionIsTheTopLeftCornerOfTheCharacterCell) {
    registerFontSubstitutions();
    Canvas c(200, 200);
    c.setFontName(QStringLiteral("Arial Narow CE"));
    c.setFontSize(60);
    c.setFontColor(qRgb(0, 0, 0));
    c.setBrushColor(qRgb(0, 0, 255));
    c.setBrushClear(false);
    c.textOut(20, 30, QStringLiteral("1"));

    // The cell of an Arial-metric font of 80 px: ascent 72, height 89.
    const int ascent = 72;
    const int cellHeight = 89;
    // Opaque brush: the cell is filled from its top-left corner.
    EXPECT_EQ(px(c, 20, 30), rgb(0, 0, 255));
    EXPECT_EQ(px(c, 19, 30), rgb(255, 255, 255));
    EXPECT_EQ(px(c, 20, 29), rgb(255, 255, 255));
    EXPECT_EQ(px(c, 20, 30 + cellHeight - 1), rgb(0, 0, 255));
    EXPECT_EQ(px(c, 20, 30 + cellHeight), rgb(255, 255, 255));
    // The flat foot of the "1" sits on the baseline, ascent below the top.
    int lastInkRow = -1;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if (px(c, x, y) == 0)
                lastInkRow = y;
    EXPECT_EQ(lastInkRow, 30 + ascent - 1);

    // A clear brush leaves the background between the strokes.
    Canvas clear(200, 200);
    clear.line(0, 0, 0, 0);
    clear.setBrushClear(true);
    clear.setFontName(QStringLiteral("Arial Narow CE"));
    clear.setFontSize(60);
    clear.textOut(20, 30, QStringLiteral("1"));
    EXPECT_EQ(px(clear, 20, 30), rgb(255, 255, 255));
}

}  // namespace
}  // namespace render
