#include "app/scripting/calibration_actions.h"

#include "app/calibration/calibration_session.h"

#include <QRegularExpression>

#include <cstdio>

namespace app::scripting {
namespace {

struct InstrumentName {
    const char* name;
    measure::Instrument instrument;
};

constexpr InstrumentName kInstruments[] = {
    {"ammeter", measure::Instrument::Ammeter},
    {"voltmeter", measure::Instrument::Voltmeter},
    {"source", measure::Instrument::Source},
};

}  // namespace

bool isCalibrationAction(const QString& action) {
    return action.startsWith(QLatin1String("calibrate:")) || action.startsWith(QLatin1String("calibration:"));
}

const ActionFamily kCalibrationActions{
    "calibrate:<ammeter|voltmeter|source>=<value>, calibration:<save|reset>",
    "  calibrate:ammeter=<mA>, calibrate:voltmeter=<V>, calibrate:source=<V>\n"
    "                                 the instrument's true value now (as a reference meter shows)\n"
    "  calibration:save, calibration:reset\n",
    isCalibrationAction,
    [](const QString& action) {
        static const QRegularExpression calibrate(
            QStringLiteral("^calibrate:(ammeter|voltmeter|source)=-?\\d+(\\.\\d+)?$"));
        static const QRegularExpression calibration(QStringLiteral("^calibration:(save|reset)$"));
        if (calibrate.match(action).hasMatch() || calibration.match(action).hasMatch()) return QString();
        return QStringLiteral("bad action \"%1\": expected calibrate:<ammeter|voltmeter|source>=<value> or "
                              "calibration:<save|reset>")
            .arg(action);
    },
};

QString performCalibrationAction(calibration::CalibrationSession* session, const QString& action) {
    if (session == nullptr) return QStringLiteral("calibration is not available in this run");
    const QString kind = action.section(QLatin1Char(':'), 0, 0);
    const QString arg = action.section(QLatin1Char(':'), 1);
    if (kind == QLatin1String("calibration")) {
        if (arg == QLatin1String("save")) {
            QString note;
            const QString problem = session->save(&note);
            if (!note.isEmpty()) std::fprintf(stderr, "pristroje: %s\n", note.toLocal8Bit().constData());
            return problem;
        }
        if (arg == QLatin1String("reset")) {
            session->reset();
            return {};
        }
    } else if (kind == QLatin1String("calibrate")) {
        const QString name = arg.section(QLatin1Char('='), 0, 0);
        bool ok = false;
        const double value = arg.section(QLatin1Char('='), 1).toDouble(&ok);
        for (const InstrumentName& i : kInstruments)
            if (ok && name == QLatin1String(i.name)) return session->calibrate(i.instrument, value);
    }
    return QStringLiteral("bad action \"%1\"").arg(action);
}

}  // namespace app::scripting
