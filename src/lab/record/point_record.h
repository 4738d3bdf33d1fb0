#pragma once
// PointRecord: the lab's points, a column per quantity, with each column's
// range kept as points come (so a graph that follows the newest point never
// walks the whole record). An hour at every block is about 63 000 points,
// 4 MB.
//
// Each point belongs to one run: a sweep, or a series of points between two
// presses of "Nový běh". A run keeps its id through deletions and their undo;
// the teacher knows it by its name ("Běh 2" unless given one). Points are
// added at the end only; they leave by remove() and come back by restore(),
// which RecordEdits uses for undo and redo.
#include "lab/record/lab_point.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace lab {

struct Run {
    int id = 0;              // unique in the record, never given again
    int number = 0;          // "Běh <number>" while it has no name of its own
    QString name;            // the teacher's; empty: "Běh <number>"
    bool hidden = false;     // left out of the graph and its fits
    std::size_t points = 0;  // how many points it holds now

    bool operator==(const Run&) const = default;
};

// "Běh 2", or the run's own name.
QString runTitle(const Run& run);

class PointRecord {
public:
    struct Range {
        double min = 0;
        double max = 0;
        double minPositive = 0;  // the smallest value above 0 (log axes); 0 without one
        int count = 0;           // finite values
    };

    // What remove() took out, so that restore() can put it back.
    struct Removed {
        std::vector<std::size_t> rows;  // ascending, as they were in the record
        std::vector<LabPoint> points;   // the points of those rows, in order
        std::vector<int> runOfRows;     // each one's run id
        struct PlacedRun {
            std::size_t index;  // its place among the runs
            Run run;
        };
        std::vector<PlacedRun> runs;  // ascending by index
        bool empty() const { return rows.empty() && runs.empty(); }
    };

    // --- points
    // Adds the point (its values and flags) to the current run, which is begun
    // ("Běh N") when there is none.
    void add(const LabPoint& point);
    // Every point and every run, for good (RecordEdits::clear keeps them for undo).
    void clear();
    void reserve(std::size_t points);

    std::size_t size() const { return columns_[0].size(); }
    bool empty() const { return size() == 0; }
    double value(std::size_t row, Quantity q) const { return columns_[indexOf(q)][row]; }
    const std::vector<double>& column(Quantity q) const { return columns_[indexOf(q)]; }
    LabPoint point(std::size_t row) const;
    const Range& range(Quantity q) const { return ranges_[indexOf(q)]; }

    bool overload(std::size_t row) const { return (flags_[row] & kOverload) != 0; }
    bool settled(std::size_t row) const { return (flags_[row] & kUnsettled) == 0; }
    bool flagged(std::size_t row) const { return flags_[row] != 0; }
    // A byte per row, nonzero for a flagged point (as lab::fit::Points takes them).
    const std::vector<std::uint8_t>& flags() const { return flags_; }
    std::size_t flaggedCount() const { return flagged_; }

    int runOf(std::size_t row) const { return runOf_[row]; }
    const std::vector<int>& runColumn() const { return runOf_; }

    // --- runs, in the order they were begun
    const std::vector<Run>& runs() const { return runs_; }
    // Nothing for an id the record does not hold (now).
    const Run* run(int id) const;
    // The run new points join: the one begun last, unless it has been removed
    // (then the next point begins another).
    const Run* currentRun() const { return run(current_); }
    // Begins a run for the points that follow, named `name` (empty: "Běh N",
    // N one more than the highest number in the record). When the current run
    // has no points yet it stays the current one and only takes the name.
    // Returns its id.
    int newRun(const QString& name = {});
    bool renameRun(int id, const QString& name);
    bool setRunHidden(int id, bool hidden);

    // --- taking out and putting back
    // Takes out the rows (any order; repeated or unknown ones are ignored) and
    // the runs of `runIds` with all their points.
    Removed remove(std::vector<std::size_t> rows, const std::vector<int>& runIds = {});
    // Puts back what remove() took out, where it was: the points that came
    // after it was taken out stay after the ones put back.
    void restore(const Removed& removed);

private:
    static constexpr std::uint8_t kOverload = 1;
    static constexpr std::uint8_t kUnsettled = 2;
    static std::uint8_t flagsOf(const LabPoint& p) {
        return static_cast<std::uint8_t>((p.overload ? kOverload : 0) | (p.settled ? 0 : kUnsettled));
    }
    Run* findRun(int id);
    void widen(std::size_t quantity, double v);
    // The ranges, the flagged count and the runs' counts afresh.
    void recount();

    std::array<std::vector<double>, kQuantityCount> columns_;
    std::vector<std::uint8_t> flags_;
    std::vector<int> runOf_;
    std::array<Range, kQuantityCount> ranges_{};
    std::size_t flagged_ = 0;
    std::vector<Run> runs_;
    int current_ = 0;
    int nextId_ = 1;
};

}  // namespace lab
