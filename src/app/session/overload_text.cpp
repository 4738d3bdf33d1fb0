#include "app/session/overload_text.h"

#include "measure/measurement_state.h"

namespace app::session {

QString overloadText(bool current, bool voltage) {
    if (!current && !voltage) return {};
    const QString which = current && voltage ? QStringLiteral("ampérmetr i voltmetr")
                          : current          ? QStringLiteral("ampérmetr")
                                             : QStringLiteral("voltmetr");
    return QStringLiteral("Vstup karty je přebuzený (%1): snižte amplitudu generátoru.").arg(which);
}

QString overloadText(const measure::MeasurementState& state) {
    return overloadText(state.LineInput.current.overload, state.LineInput.voltage.overload);
}

}  // namespace app::session
