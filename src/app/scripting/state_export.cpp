#include "app/scripting/state_export.h"

#include "app/session/session.h"
#include "app/window/form.h"
#include "app/window/window_definition.h"
#include "measure/true_rms/circuit_values.h"

#include <QLineEdit>
#include <QToolButton>

#include <cmath>

namespace app::scripting {
namespace {

const char* kindName(window::ControlKind kind) {
    switch (kind) {
        case window::ControlKind::Image: return "image";
        case window::ControlKind::Edit: return "edit";
        case window::ControlKind::TrackBar: return "trackbar";
        case window::ControlKind::Panel: return "panel";
        case window::ControlKind::SpeedButton: return "speedbutton";
    }
    return "";
}

QJsonObject controlsJson(const window::TForm1& form) {
    QJsonObject out;
    for (const window::ControlDef& def : window::controlDefinitions()) {
        const QWidget* w = form.control(QString::fromUtf8(def.name));
        QJsonObject c{{"kind", kindName(def.kind)},
                      {"parent", QString::fromUtf8(def.parent)},
                      {"left", w->x()},
                      {"top", w->y()},
                      {"width", w->width()},
                      {"height", w->height()},
                      {"visible", !w->isHidden()},
                      {"enabled", w->isEnabled()}};
        switch (def.kind) {
            case window::ControlKind::Panel:
                c["caption"] = static_cast<const window::controls::PanelControl*>(w)->caption();
                break;
            case window::ControlKind::SpeedButton:
                c["caption"] = static_cast<const QToolButton*>(w)->text();
                break;
            case window::ControlKind::Edit:
                c["text"] = static_cast<const QLineEdit*>(w)->text();
                break;
            case window::ControlKind::TrackBar:
                c["position"] = static_cast<const window::controls::TrackBar*>(w)->position();
                break;
            case window::ControlKind::Image:
                break;
        }
        out[QString::fromUtf8(def.name)] = c;
    }
    // The window itself: its caption, and its place and size on the screen.
    const QRect frame = form.frameGeometry();
    out["Form1"] = QJsonObject{{"caption", form.windowTitle()},
                               {"left", frame.x()},
                               {"top", frame.y()},
                               {"width", frame.width()},
                               {"height", frame.height()}};
    return out;
}

QJsonObject menuJson(const window::TForm1& form) {
    QJsonObject out;
    for (const window::MenuDef& def : window::menuDefinitions()) {
        const QString name = QString::fromUtf8(def.name);
        const QAction* a = form.menuEntry(name);
        const QAction* parent = form.parentMenuOf(name);
        out[name] = QJsonObject{{"caption", a->text()},
                                {"enabled", a->isEnabled()},
                                {"default", form.isDefaultEntry(name)},
                                {"parent", parent != nullptr ? parent->objectName() : QString()}};
    }
    return out;
}

// A value that is absent is "-".
QString known(const std::optional<double>& v, int decimals) {
    return v ? QString::number(*v, 'f', decimals) : QStringLiteral("-");
}

// The circuit's line of --print-readouts.
QString circuitSummary(const measure::MeasurementState& state) {
    const measure::CircuitValues v = measure::circuitValues(state);
    const measure::CircuitReading& r = state.LineInput;
    QString line =
        QStringLiteral("circuit %1 mA, %2 mV, %3 Hz, load: phase %4 deg, |Z| %5 ohm, P %6 mW, lambda %7 (%8)")
            .arg(v.milliamps, 0, 'f', 3)
            .arg(v.millivolts, 0, 'f', 3)
            .arg(known(v.frequencyHz, 3), known(v.phaseDegrees, 2), known(v.ohms, 3))
            .arg(v.milliwatts, 0, 'f', 4)
            .arg(known(v.powerFactor, 4),
                 measure::usesProfile(state) ? QStringLiteral("profile") : QStringLiteral("reference"));
    if (r.current.overload) line += QStringLiteral(", current overload");
    if (r.voltage.overload) line += QStringLiteral(", voltage overload");
    return line;
}

}  // namespace

QJsonObject exportState(const window::TForm1& form) {
    QJsonObject out = form.session().stateJson();
    out["controls"] = controlsJson(form);
    out["menu"] = menuJson(form);
    return out;
}

QString readoutSummary(const window::TForm1& form) {
    const auto& s = form.state;
    if (!form.measuring())
        return QStringLiteral("no reading (the start ended early): ammeter \"%1\", voltmeter \"%2\", generator %3 Hz "
                              "amplitude %4")
            .arg(form.Panel3->caption(), form.Panel2->caption())
            .arg(form.GeneratorFrequency)
            .arg(s.GeneratorAmplitude);
    return QStringLiteral("ammeter %1 mA (\"%2\"), voltmeter %3 mV (\"%4\"), source %5 mV, generator %6 Hz "
                          "amplitude %7")
        .arg(s.AmmeterValue, 0, 'f', 3)
        .arg(form.Panel3->caption())
        .arg(s.VoltmeterValue, 0, 'f', 3)
        .arg(form.Panel2->caption())
        .arg(s.SourceValue, 0, 'f', 3)
        .arg(form.GeneratorFrequency)
        .arg(s.GeneratorAmplitude) +
           QLatin1Char('\n') + circuitSummary(s);
}

}  // namespace app::scripting
