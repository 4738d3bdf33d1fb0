#pragma once
// ReadingHistory: what the ammeter and the voltmeter measured over the last
// few seconds of recorded sound, one entry per recorded block, so that a
// calibration can take their mean. Time is that of the recorded blocks (their
// frames at the recorder's rate), never the wall clock, so runs on virtual
// time repeat exactly.
//
// A block is entered when it is recorded; the passes that measure it update
// its entry (the last pass before the next block counts). Entries whose block
// ended more than `window` seconds before the newest block's end are dropped.
#include "measure/instrument_ranges.h"

#include <deque>

namespace measure {

class ReadingHistory {
public:
    explicit ReadingHistory(double windowSeconds = 2.0) : window_(windowSeconds) {}

    // A new block of `seconds` of sound has been recorded.
    void blockRecorded(double seconds);
    // A pass has measured the newest block: r (before any factor) and the reading.
    // Only the ammeter and the voltmeter measure; other instruments are ignored.
    void measured(Instrument instrument, double rms, double reading);

    struct Mean {
        double rms = 0;
        double reading = 0;
        int blocks = 0;  // measured blocks the mean is taken over
    };
    Mean mean(Instrument instrument) const;

    void clear() { entries_.clear(); }

private:
    struct Entry {
        double end = 0;  // seconds of recorded sound when the block was complete
        double rms[2] = {0, 0};
        double reading[2] = {0, 0};
        bool measured[2] = {false, false};
    };

    double window_;
    double recorded_ = 0;
    std::deque<Entry> entries_;
};

}  // namespace measure
