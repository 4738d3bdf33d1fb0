#include "lab/phase_words.h"

#include <QLocale>
#include <cmath>

namespace lab {

QString phaseWords(const measure::CircuitReading& reading, const measure::CircuitValues& values) {
    if (!reading.current.signal && !reading.voltage.signal) return QStringLiteral("Žádný signál");
    if (!reading.current.signal) return QStringLiteral("Žádný signál proudu");
    if (!reading.voltage.signal) return QStringLiteral("Žádný signál napětí");
    if (!values.phaseDegrees) return QStringLiteral("Zátěží neteče žádný proud");
    const QLocale czech(QLocale::Czech);
    const double phase = *values.phaseDegrees;
    const QString size = czech.toString(std::fabs(phase), 'f', kShownPhaseDecimals);
    // The dead band on the digits shown: "0,5" is no longer in phase.
    if (czech.toDouble(size) < 0.5)
        return QStringLiteral("Proud a napětí jsou ve fázi (φ = %1°)")
            .arg(czech.toString(phase, 'f', kShownPhaseDecimals));
    return phase < 0 ? QStringLiteral("Proud předbíhá napětí o %1°").arg(size)
                     : QStringLiteral("Napětí předbíhá proud o %1°").arg(size);
}

}  // namespace lab
