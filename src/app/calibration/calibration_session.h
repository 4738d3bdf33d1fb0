#pragma once
// CalibrationSession: the calibration of the card in use, for one run of the
// program. It loads the card's profile at start and puts its factors into the
// window's measurement state, solves a factor from a true value the teacher
// reads on a reference meter, saves and resets. While a profile applies the
// status line says which card it was made for.
//
// Without a profile the factors stay absent from the state, so every reading
// is computed exactly as on the reference card.
#include "measure/calibration/calibration.h"
#include "measure/reference/instrument_ranges.h"
#include "measure/calibration/reading_history.h"

#include <QJsonObject>
#include <QObject>
#include <QString>

namespace app::session {
class Session;
}
namespace app::status {
class StatusLine;
}

namespace app::calibration {

class CalibrationSession : public QObject {
    Q_OBJECT
public:
    struct Settings {
        QString key;                // the card's key (calibration_setup.h)
        QString file;               // the calibration file
        bool applyProfile = true;   // false: --no-calibration
        QString name = {};          // the card as the teacher reads it (empty: the key)
    };

    // Owned by the session; says on `statusLine` which card's profile applies,
    // and adds "calibration" to the session's state.
    CalibrationSession(session::Session& session, status::StatusLine& statusLine, Settings settings);

    // Reads the file and applies the card's entry. A file that cannot be read
    // or understood is reported (message box; headless: errors and stderr) and
    // the reference constants stay.
    void start();

    // The instrument reads `trueValue` now: mA for the ammeter, V for the
    // voltmeter and the source. Returns the reason it is refused, or "".
    QString calibrate(measure::Instrument instrument, double trueValue);
    // Saves the factors in force as the card's entry (after a reset: removes
    // it). Returns what went wrong, or "" (the file is then as it was).
    // `note` receives what the teacher should know of a save that was done:
    // that a file which could not be understood was kept under another name.
    QString save(QString* note = nullptr);
    // Back to the reference card's constants (nothing is saved until save()).
    void reset();

    bool active() const;
    bool unsaved() const { return unsaved_; }
    measure::CalibrationFactors factors() const;  // 1, 1, 1 when none applies
    const QString& key() const { return settings_.key; }
    const QString& cardName() const { return settings_.name.isEmpty() ? settings_.key : settings_.name; }
    const QString& file() const { return settings_.file; }
    // The instrument's reading now, as the main window uses it (mA or mV).
    double reading(measure::Instrument instrument) const;
    // Whether the last 2 s of the instrument's readings can be calibrated
    // against (None), or why not: no reading, an overload, or readings that
    // still move (more than 1 % apart, or taken before the generator's last
    // change reached the input): measure::kCalibrationSettling.
    measure::CalibrationRefusal readiness(measure::Instrument instrument) const;

    // --state "calibration": Active, Key, File, AmmeterGain, VoltmeterGain, SourceGain.
    QJsonObject stateJson() const;

signals:
    void changed();

private:
    measure::ReadingHistory::Mean meanReading(measure::Instrument instrument) const;
    void setFactors(const std::optional<measure::CalibrationFactors>& factors, bool unsaved);

    session::Session& session_;
    status::StatusLine& statusLine_;
    Settings settings_;
    bool unsaved_ = false;
};

// Czech text of a refusal; `gain` is the factor that was found, for GainOutOfRange.
QString refusalText(measure::CalibrationRefusal refusal, double gain);

}  // namespace app::calibration
