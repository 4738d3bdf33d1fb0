#include "render/stroke_spans.h"

#include "render/pointer_geometry.h"

#include <gtest/gtest.h>

#include <random>

namespace render {
namespace {

using measure::Instrument;

// Every row of the table, moved to x1, against what Stroke paints there.
void expectSameAsStroke(const StrokeSpans::Spans& spans, int x1, int y1, int x2, int y2, int width) {
    const Stroke stroke(x1, y1, x2, y2, width);
    ASSERT_EQ(spans.firstRow, stroke.firstRow());
    ASSERT_EQ(spans.firstRow + static_cast<std::int64_t>(spans.rows.size()) - 1, stroke.lastRow());
    for (std::int64_t y = stroke.firstRow(); y <= stroke.lastRow(); ++y) {
        const StrokeSpans::Row& row = spans.rows[static_cast<std::size_t>(y - spans.firstRow)];
        const auto columns = stroke.columns(y);
        ASSERT_EQ(row.painted, columns.has_value()) << x1 << "," << y1 << " -> " << x2 << "," << y2 << " w" << width
                                                    << " row " << y;
        if (columns) {
            ASSERT_EQ(x1 + std::int64_t{row.first}, columns->first) << "row " << y;
            ASSERT_EQ(x1 + std::int64_t{row.last}, columns->last) << "row " << y;
        }
    }
}

TEST(StrokeSpans, ARowIsWhatTheStrokePaintsWhereverTheLineStarts) {
    StrokeSpans spans;
    std::mt19937 random(17);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    constexpr int kFar = 1 << 20;
    int tabled = 0;
    for (int shape = 0; shape < 300; ++shape) {
        int dx = in(-80, 80);
        if (dx == 0) dx = 1;
        const int y1 = in(-20, 200);
        const int y2 = y1 + in(-60, 60);
        const int width = in(0, 9);
        for (int start : {0, 1, -1, in(-400, 1200), in(-400, 1200), kFar, -kFar, kFar - in(0, 99), -kFar + in(0, 99)}) {
            const StrokeSpans::Spans* table = spans.find(start, y1, start + dx, y2, width);
            if (table == nullptr) continue;  // a shape with an edge on a rounding point
            ++tabled;
            expectSameAsStroke(*table, start, y1, start + dx, y2, width);
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_GT(tabled, 2500);  // nearly all shapes get a table

    // What the table does not serve: starts farther out, vertical lines, long
    // lines and wide pens.
    EXPECT_EQ(spans.find(kFar + 1, 0, kFar + 5, 30, 4), nullptr);
    EXPECT_EQ(spans.find(-kFar - 1, 0, -kFar + 5, 30, 4), nullptr);
    EXPECT_EQ(spans.find(10, 0, 10, 30, 4), nullptr);
    EXPECT_EQ(spans.find(10, 0, 300, 30, 4), nullptr);
    EXPECT_EQ(spans.find(10, 0, 20, 30, 65), nullptr);
}

TEST(StrokeSpans, ThePointersLinesGetTablesThatHoldAtEveryPosition) {
    // The slanted lines of the pointer (edges and fan) at every position on
    // and near a screen-wide image.
    struct Line {
        int dx, y1, y2;
    };
    std::vector<Line> lines{{-37, kPointerEdgeRow, kPointerBaseRow},
                            {37, kPointerEdgeRow, kPointerBaseRow},
                            {36, kPointerApexRow, shadowEndRow(Instrument::Ammeter)},
                            {36, kPointerApexRow, shadowEndRow(Instrument::Voltmeter)},
                            {-36, kPointerApexRow, kPointerBaseRow}};
    for (int k = 0; k < kFanLines; ++k)
        if (4 * k != 36) lines.push_back({-36 + 4 * k, kPointerApexRow, kPointerBaseRow});
    StrokeSpans spans;
    for (const Line& l : lines) {
        for (int p = -60; p <= 4000; ++p) {
            const StrokeSpans::Spans* table = spans.find(p, l.y1, p + l.dx, l.y2, kPointerPenWidth);
            ASSERT_NE(table, nullptr) << "dx " << l.dx;
            expectSameAsStroke(*table, p, l.y1, p + l.dx, l.y2, kPointerPenWidth);
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
}  // namespace render
