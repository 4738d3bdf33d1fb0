// The calibration window driven through its widgets, offscreen, on the
// virtual bench as a card whose line input is half as sensitive and whose
// output is 1.6 times as strong as the reference card's.
#include "app/calibration/calibration_session.h"
#include "app/calibration/calibration_store.h"
#include "app/calibration/calibration_window.h"
#include "app/status/status_line.h"
#include "app/window/form.h"
#include "support/rig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CalibrationWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        bench::BenchConfig config;
        config.lineInputGain = 0.5;
        config.lineOutputGain = 1.6;
        bench_ = &rig_.useBench(config);
        form_ = &rig_.createWindow();
        file_ = dir_.filePath(QStringLiteral("calibration.json"));
        statusLine_ = new app::status::StatusLine(*form_);
        session_ = new app::calibration::CalibrationSession(rig_.session(), *statusLine_,
                                                            {QStringLiteral("bench"), file_, true});
        session_->start();
        window_ = new app::calibration::CalibrationWindow(*session_, form_);
        form_->TrackBar1->userSetPosition(10000);  // amplitude 7000
        form_->TrackBar2->userSetPosition(53);     // whole periods in a block
    }
    void runFor(double seconds) { rig_.runFor(seconds); }
    template <typename T>
    T* widget(const char* name) {
        return testsupport::widget<T>(*window_, name);
    }
    QString apply(const char* instrument, const QString& trueValue) {
        const QByteArray prefix(instrument);
        widget<QLineEdit>((prefix + "TrueValue").constData())->setText(trueValue);
        widget<QPushButton>((prefix + "Apply").constData())->click();
        return widget<QLabel>("message")->text();
    }

    testsupport::Rig rig_;
    bench::BenchDriver* bench_ = nullptr;
    app::window::TForm1* form_ = nullptr;
    QTemporaryDir dir_;
    QString file_;
    app::status::StatusLine* statusLine_ = nullptr;
    app::calibration::CalibrationSession* session_ = nullptr;
    app::calibration::CalibrationWindow* window_ = nullptr;
};

TEST_F(CalibrationWindowTest, CalibratesSavesAndResetsThroughItsWidgets) {
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Kalibrace zvukové karty"));
    EXPECT_TRUE(window_->isWindow());
    runFor(3.0);
    const bench::BenchReading truth = bench_->trueValues();
    ASSERT_GT(truth.currentMilliamps, 10);
    // Uncalibrated, the half-sensitive input reads half the current.
    EXPECT_NEAR(form_->state.AmmeterValue, truth.currentMilliamps / 2, truth.currentMilliamps * 0.02);
    EXPECT_FALSE(form_->state.Calibration.has_value());

    // Refused: nothing changes, the window says why.
    EXPECT_EQ(apply("ammeter", QStringLiteral("0")), QStringLiteral("Skutečná hodnota musí být větší než nula."));
    EXPECT_TRUE(apply("voltmeter", QStringLiteral("dvě")).startsWith(QStringLiteral("Zadejte")));
    EXPECT_TRUE(apply("ammeter", QStringLiteral("5000")).startsWith(QStringLiteral("Opravný činitel by vyšel")));
    EXPECT_FALSE(form_->state.Calibration.has_value());
    EXPECT_EQ(widget<QLabel>("ammeterGain")->text(), QStringLiteral("1,0000"));

    // The true values, a Czech decimal comma in one of them.
    EXPECT_EQ(apply("ammeter", QString::number(truth.currentMilliamps, 'f', 3)).left(7), QStringLiteral("Použito"));
    EXPECT_EQ(apply("voltmeter", QString::number(truth.loadMillivolts / 1000, 'f', 4).replace('.', ',')).left(7),
              QStringLiteral("Použito"));
    EXPECT_EQ(apply("source", QString::number(truth.sourceMillivolts / 1000, 'f', 4)).left(7), QStringLiteral("Použito"));
    ASSERT_TRUE(form_->state.Calibration.has_value());
    EXPECT_NEAR(form_->state.Calibration->AmmeterGain, 2.0, 0.02);
    EXPECT_NEAR(form_->state.Calibration->VoltmeterGain, 2.0, 0.03);
    EXPECT_NEAR(form_->state.Calibration->SourceGain, 1.6, 0.01);
    EXPECT_EQ(widget<QLabel>("sourceGain")->text(), QLocale(QLocale::Czech).toString(session_->factors().SourceGain, 'f', 4));
    EXPECT_EQ(statusLine_->text(app::status::StatusSlot::Calibration),
              QStringLiteral("Kalibrace pro kartu: bench (neuložená)"));

    runFor(1.0);
    window_->refresh();
    // The live readings are the main window's, now true.
    EXPECT_NEAR(form_->state.AmmeterValue, truth.currentMilliamps, truth.currentMilliamps * 0.01);
    EXPECT_EQ(widget<QLabel>("ammeterReading")->text(),
              QLocale(QLocale::Czech).toString(form_->state.AmmeterValue, 'f', 3) + QStringLiteral(" mA"));

    widget<QPushButton>("save")->click();
    EXPECT_EQ(widget<QLabel>("message")->text(), QStringLiteral("Kalibrace je uložena."));
    EXPECT_EQ(statusLine_->text(app::status::StatusSlot::Calibration), QStringLiteral("Kalibrace pro kartu: bench"));
    const app::calibration::CalibrationFileContents saved = app::calibration::readCalibrationFile(file_);
    ASSERT_EQ(saved.cards.count(QStringLiteral("bench")), 1u);
    EXPECT_EQ(saved.cards.at(QStringLiteral("bench")).factors.AmmeterGain, form_->state.Calibration->AmmeterGain);

    widget<QPushButton>("reset")->click();
    EXPECT_FALSE(form_->state.Calibration.has_value());
    EXPECT_EQ(widget<QLabel>("voltmeterGain")->text(), QStringLiteral("1,0000"));
    EXPECT_EQ(statusLine_->text(app::status::StatusSlot::Calibration), QString());
    // Saving the reference constants removes the card's entry.
    widget<QPushButton>("save")->click();
    EXPECT_EQ(app::calibration::readCalibrationFile(file_).cards.count(QStringLiteral("bench")), 0u);
}

TEST_F(CalibrationWindowTest, ASaveThatFailsSaysSoInAMessageBoxAndKeepsTheFile) {
    runFor(3.0);
    ASSERT_EQ(apply("source", QStringLiteral("1")).left(7), QStringLiteral("Použito"));
    ASSERT_TRUE(QDir().mkpath(file_));  // a folder where the file should be
    widget<QPushButton>("save")->click();
    const QString message = widget<QLabel>("message")->text();
    EXPECT_TRUE(message.startsWith(QStringLiteral("Kalibraci nelze uložit do ") + file_)) << message.toStdString();
    const auto* box = window_->findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), message);
    EXPECT_TRUE(QFileInfo(file_).isDir());
    EXPECT_EQ(statusLine_->text(app::status::StatusSlot::Calibration),
              QStringLiteral("Kalibrace pro kartu: bench (neuložená)"));
}

}  // namespace
