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
#include "measure/reference/instrument_ranges.h"

#include <deque>

namespace measure {

class ReadingHistory {
public:
    explicit ReadingHistory(double windowSeconds = 2.0) : window_(windowSeconds) {}

    // A new block of `seconds` of sound has been recorded.
    void blockRecorded(double seconds);
    // A pass has measured the newest block: `rms`, what a factor applies to
    // (for calibrating), the reading, and whether the card's input reached full
    // scale in what the reading was taken over. Only the ammeter and the
    // voltmeter measure; other instruments are ignored.
    void measured(Instrument instrument, double rms, double reading, bool overload = false);

    struct Mean {
        double rms = 0;
        double reading = 0;
        int blocks = 0;  // measured blocks the mean is taken over
        // (largest - smallest) / mean of `rms` over those blocks; 0 without any.
        double spread = 0;
        bool overload = false;  // some of those blocks was measured in overload
        double from = 0;        // seconds of recorded sound where the first of them began
    };
    // Over the measured blocks of the window. A reading that takes in `span`
    // seconds of sound before its block's end counts when all that sound lies
    // in the window; `from` is then where the first one's sound began.
    // `stretch` (with a span) narrows the window to the last `stretch`
    // seconds; a stretch beyond the window's length is the whole window.
    Mean mean(Instrument instrument, double span = 0, double stretch = 0) const;

    double window() const { return window_; }

    // Seconds of sound recorded so far.
    double recorded() const { return recorded_; }

    void clear() { entries_.clear(); }

private:
    struct Entry {
        double start = 0;  // seconds of recorded sound when the block began
        double end = 0;    // and when it was complete
        double rms[2] = {0, 0};
        double reading[2] = {0, 0};
        bool measured[2] = {false, false};
        bool overload[2] = {false, false};
    };

    double window_;
    double recorded_ = 0;
    std::deque<Entry> entries_;
};

}  // namespace measure
