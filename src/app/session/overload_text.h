#pragma once
// What the teacher is told while the line input clips: which instrument
// cannot be trusted, and what to do about it. One text for every view that
// says it (the status line, the notes across the bands, the lab).
#include <QString>

namespace measure {
struct MeasurementState;
}

namespace app::session {

// The text for the two channels' overload (empty: nothing to say).
QString overloadText(bool current, bool voltage);
// The same for the line input's last block.
QString overloadText(const measure::MeasurementState& state);

}  // namespace app::session
