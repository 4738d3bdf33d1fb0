#include "lab/fit/fit_state.h"

namespace lab::fit {

QJsonObject fitState(const Fit& fit) {
    QJsonObject out{{"Model", modelKey(fit.model)},
                    {"R2", fit.r2},
                    {"RMS", fit.rms},
                    {"Points", static_cast<qint64>(fit.points)}};
    for (const Parameter& p : fit.parameters) {
        out[p.name] = p.value;
        out[p.name + QStringLiteral("Uncertainty")] = p.uncertainty;
    }
    return out;
}

QJsonObject extremeState(const Extreme& extreme) { return QJsonObject{{"X", extreme.x}, {"Y", extreme.y}}; }

}  // namespace lab::fit
