#pragma once
// RecordEdits: the deletions from a record (rows, a run, everything), each
// one that can be undone and redone, as Ctrl+Z and Ctrl+Shift+Z do them.
// Points keep coming at the end in between: an undo puts the rows back where
// they were, before the newer ones. A new deletion forgets what could be
// redone.
#include "lab/record/point_record.h"

#include <deque>

namespace lab {

class RecordEdits {
public:
    // The deletions that can be undone, the oldest forgotten first.
    static constexpr std::size_t kKept = 100;

    explicit RecordEdits(PointRecord& record) : record_(record) {}

    // Each deletes and keeps what it took; false (and nothing kept) when
    // there was nothing to delete.
    bool removeRows(const std::vector<std::size_t>& rows);
    bool removeRun(int id);
    bool clear();  // every point and run

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // How many points the next undo would bring back, the next redo take out.
    std::size_t undoPoints() const { return undo_.empty() ? 0 : undo_.back().rows.size(); }
    std::size_t redoPoints() const { return redo_.empty() ? 0 : redo_.back().rows.size(); }
    bool undo();
    bool redo();
    // Nothing left to undo or redo.
    void forget();

private:
    bool keep(PointRecord::Removed removed);

    PointRecord& record_;
    std::deque<PointRecord::Removed> undo_;
    std::vector<PointRecord::Removed> redo_;
};

}  // namespace lab
