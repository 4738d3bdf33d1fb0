#pragma once
// The record's flagged points, as the lab tells them: how many, which ones
// clipped and which had not settled, and where (at which frequencies, or, for
// points without one, at which rows).
#include "lab/record/point_record.h"

#include <QString>
#include <vector>

namespace lab {

struct FlaggedPoints {
    std::vector<std::size_t> overload;   // rows, from 0
    std::vector<std::size_t> unsettled;  // rows that had not settled (and did not clip)
    std::size_t count() const { return overload.size() + unsettled.size(); }
};

// Of the rows of run `runId`, or of every run for 0.
FlaggedPoints flaggedPoints(const PointRecord& record, int runId = 0);

// For the teacher, "" when nothing is flagged: "Mimo proložení 3 body z 40:
// přebuzený vstup při 150, 159 a 168 Hz; neustálený údaj při 20 Hz."
QString flaggedText(const PointRecord& record, const FlaggedPoints& flagged, std::size_t of);
// For a script's stderr: "3 of 40 points flagged: overload at 150, 159, 168 Hz; unsettled at 20 Hz".
QString flaggedSummary(const PointRecord& record, const FlaggedPoints& flagged, std::size_t of);

}  // namespace lab
