#include "lab/record/record_edits.h"

namespace lab {

bool RecordEdits::keep(PointRecord::Removed removed) {
    if (removed.empty()) return false;
    undo_.push_back(std::move(removed));
    if (undo_.size() > kKept) undo_.pop_front();
    redo_.clear();
    return true;
}

bool RecordEdits::removeRows(const std::vector<std::size_t>& rows) { return keep(record_.remove(rows)); }

bool RecordEdits::removeRun(int id) {
    if (record_.run(id) == nullptr) return false;
    return keep(record_.remove({}, {id}));
}

bool RecordEdits::clear() {
    std::vector<int> runs;
    for (const Run& r : record_.runs()) runs.push_back(r.id);
    return keep(record_.remove({}, runs));
}

bool RecordEdits::undo() {
    if (undo_.empty()) return false;
    PointRecord::Removed removed = std::move(undo_.back());
    undo_.pop_back();
    record_.restore(removed);
    redo_.push_back(std::move(removed));
    return true;
}

bool RecordEdits::redo() {
    if (redo_.empty()) return false;
    const PointRecord::Removed& last = redo_.back();
    std::vector<int> runs;
    for (const auto& placed : last.runs) runs.push_back(placed.run.id);
    PointRecord::Removed removed = record_.remove(last.rows, runs);
    redo_.pop_back();
    if (!removed.empty()) undo_.push_back(std::move(removed));
    return true;
}

void RecordEdits::forget() {
    undo_.clear();
    redo_.clear();
}

}  // namespace lab
