#include "measure/calibration/reading_history.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace measure {
namespace {

// Index of an instrument that measures, or -1.
int slotOf(Instrument instrument) {
    switch (instrument) {
        case Instrument::Ammeter: return 0;
        case Instrument::Voltmeter: return 1;
        case Instrument::Source: break;
    }
    return -1;
}

}  // namespace

void ReadingHistory::blockRecorded(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    Entry entry;
    entry.start = recorded_;
    recorded_ += seconds;
    entry.end = recorded_;
    entries_.push_back(entry);
    // Keep the blocks that end within the window (the newest always stays).
    while (entries_.size() > 1 && entries_.front().end <= recorded_ - window_) entries_.pop_front();
}

void ReadingHistory::measured(Instrument instrument, double rms, double reading, bool overload) {
    const int slot = slotOf(instrument);
    if (slot < 0 || entries_.empty()) return;
    Entry& e = entries_.back();
    e.rms[slot] = rms;
    e.reading[slot] = reading;
    e.measured[slot] = true;
    e.overload[slot] = overload;
}

ReadingHistory::Mean ReadingHistory::mean(Instrument instrument, double span, double stretch) const {
    Mean m;
    const int slot = slotOf(instrument);
    if (slot < 0) return m;
    const double length = stretch > 0 ? std::min(stretch, window_) : window_;
    double rms = 0;
    double reading = 0;
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    for (const Entry& e : entries_) {
        if (!e.measured[slot]) continue;
        const double begins = std::min(e.start, e.end - span);
        if (span > 0 && begins <= recorded_ - length) continue;
        if (m.blocks == 0) m.from = begins;
        rms += e.rms[slot];
        reading += e.reading[slot];
        lowest = std::min(lowest, e.rms[slot]);
        highest = std::max(highest, e.rms[slot]);
        m.overload = m.overload || e.overload[slot];
        ++m.blocks;
    }
    if (m.blocks > 0) {
        m.rms = rms / m.blocks;
        m.reading = reading / m.blocks;
        if (m.rms != 0) m.spread = (highest - lowest) / std::fabs(m.rms);
    }
    return m;
}

}  // namespace measure
