#pragma once

#include "render/stroke.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace render {

// The painted columns of every row of a slanted line, worked out once for its
// shape and reused wherever along x the line starts: a pointer is the same
// two dozen slanted lines at every position, and working out their rows (two
// square roots a row) was most of the cost of moving it.
//
// The shape is the step from start to end in x, the two rows and the pen. A
// line starting at x1 paints what the same shape starting at 0 paints, moved by
// x1, except where an edge falls so near a rounding point that the rounding
// error of adding x1 could tip it. A shape is therefore kept only when every
// edge of every row lies at least 2^-20 pixels from a rounding point, and used
// only for starts within 2^20 pixels of the origin, where adding x1 errs by
// less than 2^-29: the columns are then exactly those of Stroke. Other shapes
// and starts (and vertical lines, which Stroke paints fast already) get no table.
class StrokeSpans {
public:
    struct Row {
        std::int32_t first;  // relative to the line's start
        std::int32_t last;
        bool painted;
    };
    struct Spans {
        std::int64_t firstRow;
        std::vector<Row> rows;  // firstRow, firstRow + 1, ...
    };

    // The table for the line from (x1, y1) to (x2, y2), made on first use;
    // nullptr when the line has none.
    const Spans* find(int x1, int y1, int x2, int y2, int width);

private:
    struct Key {
        std::int32_t dx, y1, y2, width;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };
    struct Entry {
        bool usable;
        Spans spans;
    };
    static Entry make(const Key& key);

    std::unordered_map<Key, Entry, KeyHash> m_shapes;
};

}  // namespace render
