#include "app/calibration/calibration_window.h"

#include "app/calibration/calibration_session.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace app::calibration {
namespace {

struct RowText {
    measure::Instrument instrument;
    const char* objectPrefix;
    const char* title;
    const char* unit;      // of the true value and the reading shown
    double shownPerValue;  // reading (mA or mV) -> shown unit
};

constexpr RowText kRows[] = {
    {measure::Instrument::Ammeter, "ammeter", "Ampérmetr", "mA", 1.0},
    {measure::Instrument::Voltmeter, "voltmeter", "Voltmetr", "V", 0.001},
    {measure::Instrument::Source, "source", "Zdroj (generátor)", "V", 0.001},
};

const char* const kInstructions =
    "Jako vzor použijte multimetr na střídavém rozsahu (efektivní hodnota). "
    "Ampérmetr: zapojte multimetr do série se zátěží a bočníkem 1R a zadejte proud v mA. "
    "Voltmetr: připojte multimetr k napětí, které měří dělič M1 : 1 k, a zadejte ho ve V. "
    "Zdroj: připojte multimetr na výstup zvukové karty (LINE OUT) a zadejte napětí ve V. "
    "Po každé změně generátoru počkejte asi 3 s, až je údaj ustálený, pak stiskněte „Použít“. "
    "Nakonec kalibraci uložte.";

// Whether a reading can be calibrated against now, in a word or two.
QString readinessText(measure::CalibrationRefusal readiness) {
    switch (readiness) {
        case measure::CalibrationRefusal::None: return QStringLiteral("ustálený");
        case measure::CalibrationRefusal::Unsettled: return QStringLiteral("ustaluje se…");
        case measure::CalibrationRefusal::Overload: return QStringLiteral("přebuzený vstup");
        default: return QStringLiteral("žádný údaj");
    }
}

QString number(double value, int decimals) { return QLocale(QLocale::Czech).toString(value, 'f', decimals); }

}  // namespace

CalibrationWindow::CalibrationWindow(CalibrationSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session) {
    setObjectName(QStringLiteral("CalibrationWindow"));
    setWindowTitle(QStringLiteral("Kalibrace zvukové karty"));
    auto* layout = new QVBoxLayout(this);

    card_ = new QLabel(this);
    card_->setObjectName(QStringLiteral("card"));
    layout->addWidget(card_);
    auto* instructions = new QLabel(QString::fromUtf8(kInstructions), this);
    instructions->setObjectName(QStringLiteral("instructions"));
    instructions->setWordWrap(true);
    layout->addWidget(instructions);

    auto* grid = new QGridLayout;
    const QStringList headers{QStringLiteral("Přístroj"),         QStringLiteral("Ukazuje"),
                              QStringLiteral("Údaj"),             QStringLiteral("Skutečná hodnota"),
                              QString(),                          QStringLiteral("Opravný činitel")};
    for (int c = 0; c < headers.size(); ++c) grid->addWidget(new QLabel(headers[c], this), 0, c);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const RowText& text = kRows[i];
        const QString prefix = QLatin1String(text.objectPrefix);
        Row& row = rows_[i];
        row.instrument = text.instrument;
        row.reading = new QLabel(this);
        row.reading->setObjectName(prefix + QStringLiteral("Reading"));
        row.settled = new QLabel(this);
        row.settled->setObjectName(prefix + QStringLiteral("Settled"));
        row.trueValue = new QLineEdit(this);
        row.trueValue->setObjectName(prefix + QStringLiteral("TrueValue"));
        row.trueValue->setPlaceholderText(QString::fromUtf8(text.unit));
        auto* apply = new QPushButton(QStringLiteral("Použít"), this);
        apply->setObjectName(prefix + QStringLiteral("Apply"));
        row.gain = new QLabel(this);
        row.gain->setObjectName(prefix + QStringLiteral("Gain"));
        const int r = static_cast<int>(i) + 1;
        grid->addWidget(new QLabel(QString::fromUtf8(text.title), this), r, 0);
        grid->addWidget(row.reading, r, 1);
        grid->addWidget(row.settled, r, 2);
        grid->addWidget(row.trueValue, r, 3);
        grid->addWidget(apply, r, 4);
        grid->addWidget(row.gain, r, 5);
        connect(apply, &QPushButton::clicked, this, [this, i] { this->apply(rows_[i]); });
        connect(row.trueValue, &QLineEdit::returnPressed, this, [this, i] { this->apply(rows_[i]); });
    }
    layout->addLayout(grid);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setWordWrap(true);
    layout->addWidget(message_);

    auto* buttons = new QHBoxLayout;
    auto* save = new QPushButton(QStringLiteral("Uložit"), this);
    save->setObjectName(QStringLiteral("save"));
    auto* reset = new QPushButton(QStringLiteral("Výchozí hodnoty (PCI 128)"), this);
    reset->setObjectName(QStringLiteral("reset"));
    buttons->addWidget(save);
    buttons->addWidget(reset);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &CalibrationWindow::save);
    connect(reset, &QPushButton::clicked, this, &CalibrationWindow::reset);

    connect(&session_, &CalibrationSession::changed, this, &CalibrationWindow::refresh);
    connect(&timer_, &QTimer::timeout, this, &CalibrationWindow::refresh);
    timer_.start(250);
    refresh();
}

void CalibrationWindow::refresh() {
    const measure::CalibrationFactors f = session_.factors();
    const double gains[] = {f.AmmeterGain, f.VoltmeterGain, f.SourceGain};
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const RowText& text = kRows[i];
        const double shown = session_.reading(text.instrument) * text.shownPerValue;
        rows_[i].reading->setText(QStringLiteral("%1 %2").arg(number(shown, 3), QString::fromUtf8(text.unit)));
        // The source is not measured: its true value is read on the output.
        if (text.instrument != measure::Instrument::Source)
            rows_[i].settled->setText(readinessText(session_.readiness(text.instrument)));
        rows_[i].gain->setText(number(gains[i], 4));
    }
    QString card = QStringLiteral("Karta: %1").arg(session_.cardName());
    if (!session_.active())
        card += QStringLiteral(" (výchozí hodnoty PCI 128)");
    else if (session_.unsaved())
        card += QStringLiteral(" (kalibrace není uložena)");
    card_->setText(card);
}

void CalibrationWindow::apply(const Row& row) {
    QString text = row.trueValue->text().trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));  // a Czech decimal comma
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok) {
        tell(QStringLiteral("Zadejte skutečnou hodnotu jako číslo, např. 1,25."), true);
        return;
    }
    const QString problem = session_.calibrate(row.instrument, value);
    if (problem.isEmpty())
        tell(QStringLiteral("Použito. Nezapomeňte kalibraci uložit."), false);
    else
        tell(problem, true);
}

void CalibrationWindow::save() {
    QString note;
    const QString problem = session_.save(&note);
    if (problem.isEmpty()) {
        const QString saved = QStringLiteral("Kalibrace je uložena.");
        tell(note.isEmpty() ? saved : saved + QLatin1Char(' ') + note, false);
        return;
    }
    tell(problem, true);
    // Not saved: a message box the teacher cannot miss, which does not block the window.
    auto* box = new QMessageBox(QMessageBox::Critical, windowTitle(), problem, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void CalibrationWindow::reset() {
    session_.reset();
    tell(QStringLiteral("Platí výchozí hodnoty karty PCI 128. Uložením je zachováte."), false);
}

void CalibrationWindow::tell(const QString& text, bool problem) {
    message_->setText(text);
    message_->setStyleSheet(problem ? QStringLiteral("color: #b00000;") : QString());
}

}  // namespace app::calibration
