#include "app/lab/generator_panel.h"

#include "app/session/session.h"
#include "generator/source_entry.h"
#include "generator/track_bar_settings.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <algorithm>

namespace app::lab {
namespace {

QString volts(double v) { return QLocale(QLocale::Czech).toString(v, 'f', 2) + QStringLiteral(" V"); }

}  // namespace

GeneratorPanel::GeneratorPanel(session::Session& session, QWidget* parent) : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("generator"));
    auto* grid = new QGridLayout(this);
    const auto entry = [this](const char* name, const char* suffix, int decimals, double step) {
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(QLatin1String(name));
        box->setLocale(QLocale(QLocale::Czech));
        box->setSuffix(QString::fromUtf8(suffix));
        box->setDecimals(decimals);
        box->setSingleStep(step);
        // Wider than the generator can go, so that a typed value beyond it is
        // taken and answered rather than silently cut short by the box.
        box->setRange(0, 99999);
        box->setKeyboardTracking(false);  // typed values count on Enter; steps at once
        box->setAccelerated(true);
        return box;
    };
    amplitude_ = entry("amplitude", " V", 2, kVoltStep);
    frequency_ = entry("frequency", " Hz", 1, kHertzStep);
    amplitudeCaption_ = new QLabel(this);
    amplitudeCaption_->setBuddy(amplitude_);
    auto* frequencyCaption = new QLabel(QStringLiteral("Kmitoč&et:"), this);
    frequencyCaption->setBuddy(frequency_);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("generatorNote"));
    note_->setWordWrap(true);
    grid->addWidget(amplitudeCaption_, 0, 0);
    grid->addWidget(amplitude_, 0, 1);
    grid->addWidget(frequencyCaption, 1, 0);
    grid->addWidget(frequency_, 1, 1);
    grid->addWidget(note_, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);

    connect(amplitude_, &QDoubleSpinBox::valueChanged, this, &GeneratorPanel::setVoltage);
    connect(frequency_, &QDoubleSpinBox::valueChanged, this, &GeneratorPanel::setFrequency);
    connect(&session_, &session::Session::generatorChanged, this, [this] { showSettings(); });
    connect(&session_, &session::Session::calibrationChanged, this, [this] {
        note_->clear();
        showSettings();
    });
    showSettings();
}

double GeneratorPanel::sourceGain() const {
    return session_.state.Calibration ? session_.state.Calibration->SourceGain : 1.0;
}

void GeneratorPanel::setVoltage(double v) {
    const int highest = session_.barMaximum(session::Bar::Amplitude);
    const generator::BarEntry e = generator::AmplitudeEntry(v * 1000.0, sourceGain(), highest);
    session_.moveBar(session::Bar::Amplitude, e.position);
    showSettings();
    const double set = static_cast<double>(generator::ShownSourceMillivolts(session_.barPosition(session::Bar::Amplitude), sourceGain())) / 1000;
    switch (e.limit) {
        case generator::EntryLimit::None: note_->clear(); break;
        case generator::EntryLimit::Below: note_->setText(QStringLiteral("Méně než 0 V nejde: nastaveno %1.").arg(volts(set))); break;
        case generator::EntryLimit::Above:
            note_->setText(QStringLiteral("Zdroj dá nejvýš %1: nastaveno %1.").arg(volts(set)));
            break;
        case generator::EntryLimit::Between:
            note_->setText(QStringLiteral("Napětí se nastavuje po %1: nastaveno %2.")
                               .arg(QLocale(QLocale::Czech).toString(kVoltStep, 'f', 2) + QStringLiteral(" V"), volts(set)));
            break;
    }
}

void GeneratorPanel::setFrequency(double hz) {
    const int lowest = std::max(generator::kLowestFrequency, session_.barMinimum(session::Bar::Frequency));
    const int highest = session_.barMaximum(session::Bar::Frequency);
    const generator::BarEntry e = generator::FrequencyEntry(hz, lowest, highest);
    session_.moveBar(session::Bar::Frequency, e.position);
    showSettings();
    const int set = session_.barPosition(session::Bar::Frequency);
    switch (e.limit) {
        case generator::EntryLimit::None: note_->clear(); break;
        case generator::EntryLimit::Below:
            note_->setText(QStringLiteral("Generátor umí nejméně %1 Hz: nastaveno %1 Hz.").arg(set));
            break;
        case generator::EntryLimit::Above:
            note_->setText(QStringLiteral("Generátor umí nejvýš %1 Hz: nastaveno %1 Hz.").arg(set));
            break;
        case generator::EntryLimit::Between:
            note_->setText(QStringLiteral("Kmitočet se nastavuje po celých hertzích: nastaveno %1 Hz.").arg(set));
            break;
    }
}

void GeneratorPanel::showSettings() {
    amplitudeCaption_->setText(session_.state.Calibration ? QStringLiteral("&Napětí zdroje (efektivní):")
                                                          : QStringLiteral("&Napětí zdroje (jmenovité):"));
    const QSignalBlocker a(amplitude_), f(frequency_);
    amplitude_->setValue(
        static_cast<double>(generator::ShownSourceMillivolts(session_.barPosition(session::Bar::Amplitude), sourceGain())) / 1000);
    frequency_->setValue(session_.GeneratorFrequency);
}

}  // namespace app::lab
