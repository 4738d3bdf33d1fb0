#include "render/stroke_spans.h"

#include <cmath>
#include <cstdlib>

namespace render {

namespace {

constexpr std::int64_t kFarthestStart = std::int64_t{1} << 20;
constexpr double kEdgeMargin = 0x1p-20;
// Shapes beyond these are not pointer-like; they are worked out row by row.
constexpr std::int32_t kLongestStep = 256;
constexpr std::int32_t kWidestPen = 64;
constexpr std::size_t kMostShapes = 64;

// How far an edge, once nudged, lies from the nearest value where rounding turns.
double distanceToRounding(double edge) {
    const double v = edge - Stroke::kNudge;
    return std::fabs(v - std::nearbyint(v));
}

}  // namespace

std::size_t StrokeSpans::KeyHash::operator()(const Key& k) const {
    std::uint64_t h = static_cast<std::uint32_t>(k.dx);
    h = h * 0x9E3779B97F4A7C15u ^ static_cast<std::uint32_t>(k.y1);
    h = h * 0x9E3779B97F4A7C15u ^ static_cast<std::uint32_t>(k.y2);
    h = h * 0x9E3779B97F4A7C15u ^ static_cast<std::uint32_t>(k.width);
    return static_cast<std::size_t>(h ^ (h >> 29));
}

const StrokeSpans::Spans* StrokeSpans::find(int x1, int y1, int x2, int y2, int width) {
    const std::int64_t dx = std::int64_t{x2} - x1;
    if (dx == 0 || std::llabs(dx) > kLongestStep || std::llabs(std::int64_t{y2} - y1) > kLongestStep ||
        width > kWidestPen || std::llabs(x1) > kFarthestStart)
        return nullptr;
    const Key key{static_cast<std::int32_t>(dx), y1, y2, width};
    auto it = m_shapes.find(key);
    if (it == m_shapes.end()) {
        if (m_shapes.size() >= kMostShapes) m_shapes.clear();  // a face's ticks passed by; the pointer's come back
        it = m_shapes.emplace(key, make(key)).first;
    }
    return it->second.usable ? &it->second.spans : nullptr;
}

StrokeSpans::Entry StrokeSpans::make(const Key& key) {
    const Stroke stroke(0, key.y1, key.dx, key.y2, key.width);
    Entry entry{true, {stroke.firstRow(), {}}};
    entry.spans.rows.reserve(static_cast<std::size_t>(stroke.lastRow() - stroke.firstRow() + 1));
    for (std::int64_t y = stroke.firstRow(); y <= stroke.lastRow(); ++y) {
        double lo = 0;
        double hi = 0;
        Row row{0, 0, false};
        const bool touched = stroke.edges(y, lo, hi);
        // Edges that only just miss each other are checked too: moved, they
        // might only just meet.
        if (std::isfinite(lo) && (distanceToRounding(lo) < kEdgeMargin || distanceToRounding(hi) < kEdgeMargin))
            return Entry{false, {}};
        if (touched)
            if (const auto c = Stroke::rounded(lo, hi))
                row = Row{static_cast<std::int32_t>(c->first), static_cast<std::int32_t>(c->last), true};
        entry.spans.rows.push_back(row);
    }
    return entry;
}

}  // namespace render
