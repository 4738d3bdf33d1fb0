#include "measure/reading_history.h"

#include <cmath>

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
    recorded_ += seconds;
    entries_.push_back(Entry{recorded_, {0, 0}, {0, 0}, {false, false}});
    // Keep the blocks that end within the window (the newest always stays).
    while (entries_.size() > 1 && entries_.front().end <= recorded_ - window_) entries_.pop_front();
}

void ReadingHistory::measured(Instrument instrument, double rms, double reading) {
    const int slot = slotOf(instrument);
    if (slot < 0 || entries_.empty()) return;
    Entry& e = entries_.back();
    e.rms[slot] = rms;
    e.reading[slot] = reading;
    e.measured[slot] = true;
}

ReadingHistory::Mean ReadingHistory::mean(Instrument instrument) const {
    Mean m;
    const int slot = slotOf(instrument);
    if (slot < 0) return m;
    double rms = 0;
    double reading = 0;
    for (const Entry& e : entries_) {
        if (!e.measured[slot]) continue;
        rms += e.rms[slot];
        reading += e.reading[slot];
        ++m.blocks;
    }
    if (m.blocks > 0) {
        m.rms = rms / m.blocks;
        m.reading = reading / m.blocks;
    }
    return m;
}

}  // namespace measure
