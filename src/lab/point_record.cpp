#include "lab/point_record.h"

#include <algorithm>
#include <cmath>

namespace lab {

void PointRecord::add(const LabPoint& point) {
    for (std::size_t i = 0; i < kQuantityCount; ++i) {
        const double v = point.values[i];
        columns_[i].push_back(v);
        if (!std::isfinite(v)) continue;
        Range& r = ranges_[i];
        if (r.count == 0) {
            r.min = r.max = v;
        } else {
            r.min = std::min(r.min, v);
            r.max = std::max(r.max, v);
        }
        if (v > 0 && (r.minPositive == 0 || v < r.minPositive)) r.minPositive = v;
        ++r.count;
    }
}

void PointRecord::clear() {
    for (auto& c : columns_) c.clear();
    ranges_.fill(Range{});
}

void PointRecord::reserve(std::size_t points) {
    for (auto& c : columns_) c.reserve(points);
}

LabPoint PointRecord::point(std::size_t row) const {
    LabPoint p;
    for (std::size_t i = 0; i < kQuantityCount; ++i) p.values[i] = columns_[i][row];
    return p;
}

}  // namespace lab
