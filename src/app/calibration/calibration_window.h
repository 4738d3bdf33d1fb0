#pragma once
// The calibration window ("Kalibrace zvukové karty"), beside the main window:
// for each instrument its live reading, a field for the true value a
// reference meter shows, a button that applies it and the factor in force;
// "Uložit" saves, "Výchozí hodnoty (PCI 128)" goes back to the reference card.
//
// Widgets by object name: <instrument>Reading, <instrument>Settled (whether
// the reading has settled, for the ammeter and the voltmeter), <instrument>TrueValue,
// <instrument>Apply, <instrument>Gain for ammeter, voltmeter and source;
// message, save, reset, card.
#include "measure/reference/instrument_ranges.h"

#include <QTimer>
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;

namespace app::calibration {

class CalibrationSession;

class CalibrationWindow : public QWidget {
public:
    // A window of its own, owned by `parent` (the main window).
    CalibrationWindow(CalibrationSession& session, QWidget* parent);

    // Shows the readings and factors now (also done by a timer, 4 times a second).
    void refresh();

private:
    struct Row {
        measure::Instrument instrument;
        QLabel* reading = nullptr;
        QLabel* settled = nullptr;
        QLineEdit* trueValue = nullptr;
        QLabel* gain = nullptr;
    };

    void apply(const Row& row);
    void save();
    void reset();
    void tell(const QString& text, bool problem);

    CalibrationSession& session_;
    std::array<Row, 3> rows_;
    QLabel* message_ = nullptr;
    QLabel* card_ = nullptr;
    QTimer timer_;
};

}  // namespace app::calibration
