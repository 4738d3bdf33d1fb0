#include "lab/record/point_record.h"

#include <algorithm>
#include <cmath>

namespace lab {

QString runTitle(const Run& run) {
    return run.name.isEmpty() ? QStringLiteral("Běh %1").arg(run.number) : run.name;
}

void PointRecord::widen(std::size_t quantity, double v) {
    if (!std::isfinite(v)) return;
    Range& r = ranges_[quantity];
    if (r.count == 0) {
        r.min = r.max = v;
    } else {
        r.min = std::min(r.min, v);
        r.max = std::max(r.max, v);
    }
    if (v > 0 && (r.minPositive == 0 || v < r.minPositive)) r.minPositive = v;
    ++r.count;
}

void PointRecord::add(const LabPoint& point) {
    Run* run = findRun(current_);
    if (run == nullptr) run = findRun(newRun());
    for (std::size_t i = 0; i < kQuantityCount; ++i) {
        columns_[i].push_back(point.values[i]);
        widen(i, point.values[i]);
    }
    flags_.push_back(flagsOf(point));
    if (flags_.back() != 0) ++flagged_;
    runOf_.push_back(run->id);
    ++run->points;
}

void PointRecord::clear() { *this = PointRecord{}; }

void PointRecord::reserve(std::size_t points) {
    for (auto& c : columns_) c.reserve(points);
    flags_.reserve(points);
    runOf_.reserve(points);
}

LabPoint PointRecord::point(std::size_t row) const {
    LabPoint p;
    for (std::size_t i = 0; i < kQuantityCount; ++i) p.values[i] = columns_[i][row];
    p.overload = overload(row);
    p.settled = settled(row);
    return p;
}

Run* PointRecord::findRun(int id) {
    const auto it = std::find_if(runs_.begin(), runs_.end(), [id](const Run& r) { return r.id == id; });
    return it == runs_.end() ? nullptr : &*it;
}

const Run* PointRecord::run(int id) const {
    const auto it = std::find_if(runs_.begin(), runs_.end(), [id](const Run& r) { return r.id == id; });
    return it == runs_.end() ? nullptr : &*it;
}

int PointRecord::newRun(const QString& name) {
    if (Run* current = findRun(current_); current != nullptr && current->points == 0) {
        if (!name.isEmpty()) current->name = name;
        return current->id;
    }
    int highest = 0;
    for (const Run& r : runs_) highest = std::max(highest, r.number);
    Run run;
    run.id = nextId_++;
    run.number = highest + 1;
    run.name = name;
    runs_.push_back(run);
    current_ = run.id;
    return run.id;
}

bool PointRecord::renameRun(int id, const QString& name) {
    Run* run = findRun(id);
    if (run == nullptr || run->name == name) return false;
    run->name = name;
    return true;
}

bool PointRecord::setRunHidden(int id, bool hidden) {
    Run* run = findRun(id);
    if (run == nullptr || run->hidden == hidden) return false;
    run->hidden = hidden;
    return true;
}

PointRecord::Removed PointRecord::remove(std::vector<std::size_t> rows, const std::vector<int>& runIds) {
    Removed removed;
    for (std::size_t i = 0; i < runs_.size(); ++i)
        if (std::find(runIds.begin(), runIds.end(), runs_[i].id) != runIds.end()) removed.runs.push_back({i, runs_[i]});
    for (std::size_t row = 0; row < size(); ++row)
        if (std::any_of(removed.runs.begin(), removed.runs.end(),
                        [&](const Removed::PlacedRun& r) { return r.run.id == runOf_[row]; }))
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::lower_bound(rows.begin(), rows.end(), size()), rows.end());
    if (rows.empty() && removed.runs.empty()) return removed;

    removed.rows = rows;
    removed.points.reserve(rows.size());
    removed.runOfRows.reserve(rows.size());
    for (const std::size_t row : rows) {
        removed.points.push_back(point(row));
        removed.runOfRows.push_back(runOf_[row]);
    }
    // One pass keeps the rows that stay, in order.
    const auto keep = [&rows](auto& column) {
        std::size_t to = 0;
        auto next = rows.begin();
        for (std::size_t from = 0; from < column.size(); ++from) {
            if (next != rows.end() && *next == from) {
                ++next;
                continue;
            }
            column[to++] = column[from];
        }
        column.resize(to);
    };
    for (auto& c : columns_) keep(c);
    keep(flags_);
    keep(runOf_);
    for (auto it = removed.runs.rbegin(); it != removed.runs.rend(); ++it)
        runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(it->index));
    recount();
    return removed;
}

void PointRecord::restore(const Removed& removed) {
    for (const Removed::PlacedRun& placed : removed.runs) {
        const std::size_t at = std::min(placed.index, runs_.size());
        runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(at), placed.run);
    }
    // One pass merges the rows back at their places.
    const std::size_t total = size() + removed.rows.size();
    const auto merge = [&](auto& column, auto valueOf) {
        using Value = typename std::decay_t<decltype(column)>::value_type;
        std::vector<Value> merged;
        merged.reserve(total);
        std::size_t back = 0, stayed = 0;
        for (std::size_t row = 0; row < total; ++row) {
            if (back < removed.rows.size() && removed.rows[back] == row)
                merged.push_back(valueOf(back++));
            else
                merged.push_back(column[stayed++]);
        }
        column = std::move(merged);
    };
    for (std::size_t i = 0; i < kQuantityCount; ++i)
        merge(columns_[i], [&](std::size_t k) { return removed.points[k].values[i]; });
    merge(flags_, [&](std::size_t k) { return flagsOf(removed.points[k]); });
    merge(runOf_, [&](std::size_t k) { return removed.runOfRows[k]; });
    recount();
}

void PointRecord::recount() {
    ranges_.fill(Range{});
    for (std::size_t i = 0; i < kQuantityCount; ++i)
        for (const double v : columns_[i]) widen(i, v);
    flagged_ = static_cast<std::size_t>(std::count_if(flags_.begin(), flags_.end(), [](std::uint8_t f) { return f != 0; }));
    for (Run& r : runs_) r.points = static_cast<std::size_t>(std::count(runOf_.begin(), runOf_.end(), r.id));
}

}  // namespace lab
