#include "measure/calibration/settling.h"

#include "measure/true_rms/true_rms_meter.h"

namespace measure {

Settling settling(const ReadingHistory& history, Instrument instrument, double changeArrives,
                  const SettlingRule& rule) {
    const ReadingHistory::Mean mean = history.mean(instrument, TrueRmsMeter::kWindowSeconds, rule.stretch);
    if (mean.blocks == 0 || !(mean.rms > 0)) return Settling::NoReading;
    if (mean.overload) return Settling::Overload;
    // A reading that still took in some of the earlier sound differs from the rest.
    if (mean.blocks < rule.minimumReadings || mean.spread > rule.spread || mean.from < changeArrives)
        return Settling::Unsettled;
    return Settling::Settled;
}

}  // namespace measure
