#include "app/calibration/calibration_session.h"

#include "app/calibration/calibration_store.h"
#include "app/status/status_line.h"
#include "app/session/session.h"
#include "measure/calibration/settling.h"
#include "measure/true_rms/true_rms_meter.h"

#include <QDateTime>
#include <QLocale>

namespace app::calibration {

CalibrationSession::CalibrationSession(session::Session& session, status::StatusLine& statusLine, Settings settings)
    : QObject(&session), session_(session), statusLine_(statusLine), settings_(std::move(settings)) {
    session.addStatePart(QStringLiteral("calibration"), this, [this] { return stateJson(); });
}

void CalibrationSession::start() {
    if (!settings_.applyProfile) return;
    const CalibrationFileContents contents = readCalibrationFile(settings_.file);
    if (!contents.error.isEmpty()) {
        session_.raiseError(QStringLiteral("Soubor kalibrace %1 nelze použít (%2). Platí výchozí hodnoty (PCI 128); "
                                       "soubor zůstane beze změny, dokud kalibraci neuložíte.")
                            .arg(settings_.file, contents.error));
        return;
    }
    const auto it = contents.cards.find(settings_.key);
    if (it == contents.cards.end()) return;
    const CalibrationProfile& profile = it->second;
    if (profile.format != CalibrationProfile::kProfileFormat) {
        // Its factors mean something else: the reference constants stay, and
        // the file as it is, until the card is calibrated again.
        statusLine_.set(status::StatusSlot::Calibration,
                        QStringLiteral("Kalibraci karty %1 pořídila %2 verze programu, proto neplatí: kartu "
                                       "zkalibrujte znovu.")
                            .arg(settings_.key, profile.format < CalibrationProfile::kProfileFormat
                                                    ? QStringLiteral("starší")
                                                    : QStringLiteral("novější")));
        return;
    }
    setFactors(profile.factors, false);
}

measure::ReadingHistory::Mean CalibrationSession::meanReading(measure::Instrument instrument) const {
    // The readings whose sound lies in the last 2 s: each takes in the true-RMS
    // meter's window before the end of its block.
    return session_.readingHistory.mean(instrument, measure::TrueRmsMeter::kWindowSeconds);
}

measure::CalibrationRefusal CalibrationSession::readiness(measure::Instrument instrument) const {
    if (instrument == measure::Instrument::Source) return measure::CalibrationRefusal::None;
    switch (measure::settling(session_.readingHistory, instrument, session_.generatorChangeArrives,
                              measure::kCalibrationSettling)) {
        case measure::Settling::Settled: return measure::CalibrationRefusal::None;
        case measure::Settling::NoReading: return measure::CalibrationRefusal::NoReading;
        case measure::Settling::Overload: return measure::CalibrationRefusal::Overload;
        case measure::Settling::Unsettled: return measure::CalibrationRefusal::Unsettled;
    }
    return measure::CalibrationRefusal::Unsettled;
}

QString CalibrationSession::calibrate(measure::Instrument instrument, double trueValue) {
    measure::CalibrationFactors f = factors();
    measure::GainSolution solution;
    switch (instrument) {
        case measure::Instrument::Ammeter:
        case measure::Instrument::Voltmeter: {
            // Volts for the voltmeter; its readings are in mV.
            const double scale = instrument == measure::Instrument::Voltmeter ? 1000.0 : 1.0;
            solution = measure::solveLinearGain(meanReading(instrument).rms, trueValue * scale);
            if (solution.refusal == measure::CalibrationRefusal::TrueValueNotPositive ||
                solution.refusal == measure::CalibrationRefusal::NoReading)
                break;
            if (const auto ready = readiness(instrument); ready != measure::CalibrationRefusal::None) {
                solution.refusal = ready;
                break;
            }
            if (solution.refusal == measure::CalibrationRefusal::None)
                (instrument == measure::Instrument::Ammeter ? f.AmmeterGain : f.VoltmeterGain) = solution.gain;
            break;
        }
        case measure::Instrument::Source:
            solution = measure::solveSourceGain(session_.state.GeneratorAmplitude, trueValue * 1000);
            if (solution.refusal == measure::CalibrationRefusal::None) f.SourceGain = solution.gain;
            break;
    }
    if (solution.refusal != measure::CalibrationRefusal::None) return refusalText(solution.refusal, solution.gain);
    f.OnTrueRms = true;
    setFactors(f, true);
    return {};
}

QString CalibrationSession::save(QString* note) {
    if (settings_.file.isEmpty())
        return QStringLiteral("Kalibraci nelze uložit: není známa složka pro nastavení (proměnné HOME ani "
                              "XDG_CONFIG_HOME neudávají platnou cestu). Soubor zadejte volbou --calibration.");
    std::optional<CalibrationProfile> profile;
    if (session_.state.Calibration)
        profile = CalibrationProfile{*session_.state.Calibration, QDateTime::currentDateTimeUtc()};
    QString keptAs;
    const QString problem = saveCalibrationEntry(settings_.file, settings_.key, profile, &keptAs);
    if (!problem.isEmpty())
        return QStringLiteral("Kalibraci nelze uložit do %1: %2. Soubor zůstal beze změny.")
            .arg(settings_.file, problem);
    if (!keptAs.isEmpty() && note != nullptr)
        *note = QStringLiteral("Soubor %1 nebyl čitelný profil kalibrace; jeho původní obsah je uschován v %2.")
                    .arg(settings_.file, keptAs);
    setFactors(session_.state.Calibration, false);
    return {};
}

void CalibrationSession::reset() { setFactors(std::nullopt, active()); }

bool CalibrationSession::active() const { return session_.state.Calibration.has_value(); }

measure::CalibrationFactors CalibrationSession::factors() const {
    return session_.state.Calibration.value_or(measure::CalibrationFactors{});
}

double CalibrationSession::reading(measure::Instrument instrument) const {
    return measure::readingOf(session_.state, instrument);
}

void CalibrationSession::setFactors(const std::optional<measure::CalibrationFactors>& factors, bool unsaved) {
    session_.setCalibration(factors);
    unsaved_ = unsaved;
    QString status;
    if (factors) {
        status = QStringLiteral("Kalibrace pro kartu: %1").arg(cardName());
        if (unsaved) status += QStringLiteral(" (neuložená)");
    }
    statusLine_.set(status::StatusSlot::Calibration, status);
    emit changed();
}

QJsonObject CalibrationSession::stateJson() const {
    const measure::CalibrationFactors f = factors();
    return QJsonObject{{"Active", active()},       {"Key", settings_.key},
                       {"File", settings_.file},   {"AmmeterGain", f.AmmeterGain},
                       {"VoltmeterGain", f.VoltmeterGain}, {"SourceGain", f.SourceGain}};
}

QString refusalText(measure::CalibrationRefusal refusal, double gain) {
    switch (refusal) {
        case measure::CalibrationRefusal::None: return {};
        case measure::CalibrationRefusal::TrueValueNotPositive:
            return QStringLiteral("Skutečná hodnota musí být větší než nula.");
        case measure::CalibrationRefusal::NoReading:
            return QStringLiteral("Přístroj za poslední 2 s nic nenaměřil: zapojte obvod, počkejte, až se údaj "
                                  "ustálí, a zkuste to znovu.");
        case measure::CalibrationRefusal::NoAmplitude:
            return QStringLiteral("Generátor má nulovou amplitudu: nastavte amplitudu a zkuste to znovu.");
        case measure::CalibrationRefusal::Unsettled:
            return QStringLiteral("Údaj se ještě mění: počkejte po poslední změně generátoru aspoň 3 s, až se "
                                  "ustálí, a zkuste to znovu.");
        case measure::CalibrationRefusal::Overload:
            return QStringLiteral("Vstup zvukové karty je přebuzený (signál dosahuje plného rozsahu): snižte "
                                  "amplitudu generátoru a zkuste to znovu.");
        case measure::CalibrationRefusal::GainOutOfRange:
            return QStringLiteral("Opravný činitel by vyšel %1, mimo rozsah 0,01 až 100: zkontrolujte zapojení "
                                  "a zadanou hodnotu.")
                .arg(QLocale(QLocale::Czech).toString(gain, 'g', measure::gainDigits(gain)));
    }
    return {};
}

}  // namespace app::calibration
