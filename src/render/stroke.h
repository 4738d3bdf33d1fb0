#pragma once

#include <cstdint>
#include <optional>

namespace render {

// The pixels painted by one wide line: the pen's shape and how it falls on the
// pixel grid.
//
// Shape. A line of pen width w from A to B paints the segment AB widened by
// w/2 to each side, with rounded ends that reach e = min(w/2, 1.5) beyond A and
// B: each end is a half-ellipse with semi-axes w/2 across the line and e along
// it (a half-circle for pens up to 3 pixels wide). Every line thus ends like a
// line of the 3-pixel band pen, whatever its width: the bands' 3-pixel lines
// reach one row past their end points and meet without a gap, while a wide tick
// stays within one row of its end points and so inside the band that the next
// face repaints. A line of zero length counts as vertical.
//
// Grid. A pixel (px, py) is painted when the point (px + n, py + n), n = 1/1024,
// lies in the shape: pixel centres sit on integer coordinates, and a centre
// exactly on the edge of the shape counts on the left and top edges only, so a
// vertical line covers exactly w columns. Widths below 1 count as 1.
//
// What that gives for a vertical line from (x, a) to (x, b), a <= b:
//   width 1: column x, rows a..b
//   width 3: columns x-1..x+1, rows a-1..b+1 (a full rectangle)
//   width 4: columns x-2..x+1, rows a-1..b+1 (3 pixels x-1..x+1 in rows a-1, b+1)
//   width 5: columns x-2..x+2, rows a-1..b+1 (3 pixels x-1..x+1 in rows a-1, b+1)
//   width 8: columns x-4..x+3, rows a-1..b+1 (5 pixels x-2..x+2 in rows a-1, b+1)
// So the ramp bands meet without a gap: the edge strip (1..8) paints rows 0..9,
// the face band (10..128) rows 9..129, the rule (131..132) rows 130..133 and the
// pointer band (135..183) rows 134..184, each later band covering the row it
// shares with the one before. A tick ending at row 127 stops at row 128.
class Stroke {
public:
    Stroke(int x1, int y1, int x2, int y2, int width);

    // Rows that may be painted (some may be empty; see columns()).
    std::int64_t firstRow() const { return m_firstRow; }
    std::int64_t lastRow() const { return m_lastRow; }

    struct Columns {
        std::int64_t first;
        std::int64_t last;  // inclusive
    };
    // The painted columns of row y; nothing when the row is not touched.
    std::optional<Columns> columns(std::int64_t y) const;

    // Rows that all paint the same columns (the body of a vertical line), so
    // that a painter can fill them without asking row by row.
    struct UniformRows {
        std::int64_t first;
        std::int64_t last;
        Columns columns;
    };
    std::optional<UniformRows> uniformRows() const;

    // The edges of row y before rounding (y in firstRow..lastRow): the
    // painted columns are rounded(lo, hi). False when the row is not touched.
    // (The body of a vertical line is the one row kind columns() answers
    // without them, with the same result.)
    bool edges(std::int64_t y, double& lo, double& hi) const;
    static std::optional<Columns> rounded(double lo, double hi);
    // The nudge that decides pixels whose centre lies exactly on the pen's
    // edge: subtracted from an edge before it is rounded.
    static constexpr double kNudge = 1.0 / 1024.0;

private:
    double m_x1, m_y1, m_x2, m_y2;
    double m_dx, m_dy;   // B - A
    double m_ux, m_uy;   // unit vector along the line
    double m_r;          // half the pen width (across)
    double m_e;          // reach of the ends (along)
    double m_length;
    // End ellipse as a quadratic in X = x - cx for a row at Y = y - cy:
    // m_p X^2 + 2 m_q Y X + (m_s Y^2 - 1) <= 0.
    double m_p, m_q, m_s;
    std::int64_t m_firstRow, m_lastRow;
    // A vertical line's rows between its end points all paint the same columns.
    bool m_vertical;
    Columns m_bodyColumns;
};

}  // namespace render
