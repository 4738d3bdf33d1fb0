// The lab window driven through its widgets, offscreen, on the virtual bench
// with a series R, C load: a record at every block and at an interval, a
// settled point, the graph with its fit, a sweep that moves the hidden
// frequency bar and puts it back, the waveforms held still, and the exports.
#include "app/lab/graph_view.h"
#include "app/lab/lab.h"
#include "app/lab/lab_session.h"
#include "app/lab/lab_window.h"
#include "app/lab/waveform_view.h"
#include "app/window/form.h"
#include "lab/linear_fit.h"
#include "support/program_run.h"
#include "support/rig.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

class LabWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        bench::BenchConfig config;
        config.circuit = bench::BenchRlc{100.0, {}, 10e-6};
        rig_.useBench(config);
        form_ = &rig_.createWindow();
        lab_ = new app::lab::Lab(rig_.session(), *form_);
        window_ = &lab_->window();
        form_->TrackBar1->userSetPosition(16000);
    }
    void runFor(double seconds) { rig_.runFor(seconds); }
    template <typename T>
    T* widget(const char* name) {
        return testsupport::widget<T>(*window_, name);
    }
    // The question "Smazat všech … bodů?" open over the window: answered.
    void answerClearQuestion(bool clear) {
        auto* box = testsupport::widget<QMessageBox>(*window_, "clearQuestion");
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons())
            if ((box->buttonRole(b) == QMessageBox::DestructiveRole) == clear) return b->click();
        ADD_FAILURE() << "no button to answer with";
    }
    int rows() { return widget<QTableView>("pointTable")->model()->rowCount(); }
    QString cell(int row, int column) {
        const QAbstractItemModel* m = widget<QTableView>("pointTable")->model();
        return m->data(m->index(row, column)).toString();
    }

    testsupport::Rig rig_;
    app::window::TForm1* form_ = nullptr;
    app::lab::Lab* lab_ = nullptr;
    app::lab::LabWindow* window_ = nullptr;
    QTemporaryDir dir_;
};

TEST_F(LabWindowTest, RecordsPointsDrawsTheFitAndShowsTheLiveValuesAndTheTable) {
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Měření a grafy"));
    EXPECT_TRUE(window_->isWindow());
    runFor(1.5);
    window_->refresh();
    // The live values, Czech, with units.
    EXPECT_TRUE(widget<QLabel>("valueCurrentMilliamps")->text().endsWith(QStringLiteral(" mA")));
    EXPECT_TRUE(widget<QLabel>("valueImpedanceOhms")->text().contains(QLatin1Char(',')));
    EXPECT_TRUE(widget<QLabel>("valuePhaseDegrees")->text().startsWith(QStringLiteral("-72,")))
        << widget<QLabel>("valuePhaseDegrees")->text().toStdString();

    // Every block for a second: about 18 points, time from 0 s.
    widget<QPushButton>("record")->click();
    runFor(1.0);
    widget<QPushButton>("record")->click();
    const int everyBlock = rows();
    EXPECT_GE(everyBlock, 16);
    EXPECT_LE(everyBlock, 19);
    EXPECT_EQ(cell(0, 0), QStringLiteral("0,000"));
    EXPECT_NEAR(cell(everyBlock - 1, 0).replace(',', '.').toDouble(), (everyBlock - 1) * 2500.0 / 44100, 1e-3);
    runFor(1.0);
    EXPECT_EQ(rows(), everyBlock);  // stopped

    // Every half second for 3 s: 6 or 7 more.
    widget<QDoubleSpinBox>("interval")->setValue(0.5);
    widget<QPushButton>("record")->click();
    runFor(3.0);
    widget<QPushButton>("record")->click();
    EXPECT_GE(rows() - everyBlock, 6);
    EXPECT_LE(rows() - everyBlock, 7);

    // "Zapsat bod" after a change of amplitude waits for the settled reading.
    widget<QPushButton>("clear")->click();
    answerClearQuestion(true);  // the points were not saved: asked first
    EXPECT_EQ(rows(), 0);
    for (const int position : {8000, 16000, 24000, 32000}) {
        form_->TrackBar1->userSetPosition(position);
        widget<QPushButton>("point")->click();
        EXPECT_TRUE(lab_->session().pointPending());
        runFor(1.5);
        EXPECT_FALSE(lab_->session().pointPending());
    }
    EXPECT_EQ(rows(), 4);
    EXPECT_EQ(widget<QLabel>("message")->text(), QStringLiteral("Bod je zapsán."));

    // U against I with its line: the slope is |Z| of the R, C load at 50 Hz.
    widget<QComboBox>("graphY")->setCurrentIndex(3);  // U
    widget<QComboBox>("graphX")->setCurrentIndex(2);  // I
    widget<QCheckBox>("fit")->setChecked(true);
    const auto fit = lab_->session().fit();
    ASSERT_TRUE(fit);
    const double ohms = std::hypot(101.0, 1 / (2 * 3.14159265358979 * 50 * 10e-6));
    EXPECT_NEAR(fit->slope, ohms, ohms * 0.01);
    EXPECT_GT(fit->r2, 0.999);
    const QString fitText = widget<QLabel>("fitText")->text();
    EXPECT_TRUE(fitText.startsWith(QStringLiteral("přímka: směrnice "))) << fitText.toStdString();
    EXPECT_TRUE(fitText.contains(QStringLiteral("Ω"))) << fitText.toStdString();

    // Saved: the table in the Czech dialect, the graph as PNG and SVG.
    EXPECT_EQ(window_->exportCsv(dir_.filePath("body.csv"), lab::kSemicolonDecimalComma), QString());
    const QByteArray csv = testsupport::readFile(dir_.filePath("body.csv"));
    EXPECT_EQ(csv.count('\n'), 5);
    EXPECT_EQ(window_->exportGraph(dir_.filePath("graf.png")), QString());
    EXPECT_EQ(window_->exportGraph(dir_.filePath("graf.svg")), QString());
    EXPECT_TRUE(QFile::exists(dir_.filePath("graf.svg")));
    const QString refused = window_->exportCsv(dir_.filePath("chybi/body.csv"), lab::kCommaDecimalPoint);
    EXPECT_TRUE(refused.startsWith(QStringLiteral("Tabulku nelze uložit do "))) << refused.toStdString();
    EXPECT_FALSE(QFile::exists(dir_.filePath("chybi/body.csv")));
}

TEST_F(LabWindowTest, ASweepMovesTheHiddenFrequencyBarStepByStepAndPutsItBack) {
    ASSERT_TRUE(form_->TrackBar2->isHidden());
    const int before = form_->TrackBar2->position();
    widget<QSpinBox>("sweepFrom")->setValue(100);
    widget<QSpinBox>("sweepTo")->setValue(400);
    widget<QSpinBox>("sweepSteps")->setValue(4);
    widget<QComboBox>("sweepScale")->setCurrentIndex(1);  // linear
    widget<QPushButton>("sweepStart")->click();
    EXPECT_TRUE(lab_->session().sweep().running);
    EXPECT_FALSE(widget<QPushButton>("sweepStart")->isEnabled());
    EXPECT_EQ(form_->GeneratorFrequency, 100);
    runFor(12.0);
    EXPECT_FALSE(lab_->session().sweep().running);
    EXPECT_EQ(widget<QProgressBar>("sweepProgress")->value(), 4);
    ASSERT_EQ(rows(), 4);
    // The measured frequency of each step, with a decimal comma.
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(cell(i, 1).replace(',', '.').toDouble(), 100 + 100 * i, 0.05) << i;
    EXPECT_EQ(form_->TrackBar2->position(), before);
    EXPECT_EQ(form_->GeneratorFrequency, before);
    EXPECT_TRUE(form_->TrackBar2->isHidden());
    EXPECT_EQ(lab_->session().graph().x, lab::Quantity::Frequency);

    // Cancelled on the way: the bar goes back too.
    widget<QPushButton>("clear")->click();  // an empty record: nothing to ask
    widget<QPushButton>("sweepStart")->click();
    runFor(2.0);
    EXPECT_NE(form_->GeneratorFrequency, before);
    widget<QPushButton>("sweepCancel")->click();
    EXPECT_TRUE(lab_->session().sweep().cancelled);
    EXPECT_EQ(form_->GeneratorFrequency, before);
    EXPECT_TRUE(widget<QPushButton>("sweepStart")->isEnabled());
}

TEST_F(LabWindowTest, TheWaveformsStateThePhaseAndHoldStill) {
    runFor(1.5);
    window_->show();
    window_->refresh();
    const QString phase = window_->waveforms().phaseText();
    EXPECT_TRUE(phase.startsWith(QStringLiteral("Proud předbíhá napětí o 72,"))) << phase.toStdString();
    widget<QPushButton>("freeze")->click();
    EXPECT_TRUE(lab_->session().waveformsFrozen());
    form_->TrackBar1->userSetPosition(2000);  // what runs on changes; what is held does not
    runFor(1.0);
    window_->refresh();
    EXPECT_EQ(window_->waveforms().phaseText(), phase);
    const auto held = lab_->session().waveformSource();
    EXPECT_GT(held.reading.current.rms, 2 * form_->state.LineInput.current.rms);
    widget<QPushButton>("freeze")->click();
    EXPECT_FALSE(lab_->session().waveformsFrozen());
}

// Points added one by one, as a record at every block adds them: each stays
// inside the axes (which grow with room to spare rather than at every point),
// and the fit kept up point by point is the fit of them all at once, here far
// from zero, and afresh when the graph changes.
TEST_F(LabWindowTest, AGrowingCloudStaysInsideTheAxesAndItsFitFollowsEachPoint) {
    ::lab::GraphChoice choice;
    choice.y = ::lab::Quantity::Voltage;
    choice.x = ::lab::Quantity::Current;
    choice.fit = true;
    lab_->session().setGraph(choice);
    app::lab::GraphView& graph = window_->graph();
    int axisChanges = 0;
    QCPRange lastX = graph.xAxis->range();
    for (int i = 0; i < 3000; ++i) {
        ::lab::LabPoint p;
        p[::lab::Quantity::Time] = 3600 + 0.057 * i;
        const double current = 500 + 0.01 * i + 0.003 * std::sin(i);  // mA, a warming resistor
        p[::lab::Quantity::Current] = current;
        p[::lab::Quantity::Voltage] = 100.0 * current + (i == 2500 ? 3000.0 : 0.0);  // one outlier
        lab_->session().add(p);
        QCoreApplication::processEvents();
        if (graph.xAxis->range() != lastX) ++axisChanges;
        lastX = graph.xAxis->range();
        ASSERT_TRUE(graph.xAxis->range().contains(current)) << i;
        ASSERT_TRUE(graph.yAxis->range().contains(p[::lab::Quantity::Voltage])) << i;
    }
    EXPECT_LT(axisChanges, 60);
    const ::lab::PointRecord& record = lab_->session().record();
    const auto all = ::lab::fitLine(record.column(::lab::Quantity::Current), record.column(::lab::Quantity::Voltage));
    const auto kept = lab_->session().fit();
    ASSERT_TRUE(all && kept);
    EXPECT_NEAR(kept->slope, all->slope, std::fabs(all->slope) * 1e-9);
    EXPECT_NEAR(kept->intercept, all->intercept, std::fabs(all->intercept) * 1e-7 + 1e-6);
    EXPECT_NEAR(kept->r2, all->r2, 1e-9);
    EXPECT_EQ(kept->points, 3000u);

    choice.x = ::lab::Quantity::Time;
    lab_->session().setGraph(choice);
    const auto byTime = lab_->session().fit();
    const auto byTimeAll = ::lab::fitLine(record.column(::lab::Quantity::Time), record.column(::lab::Quantity::Voltage));
    ASSERT_TRUE(byTime && byTimeAll);
    EXPECT_NEAR(byTime->slope, byTimeAll->slope, std::fabs(byTimeAll->slope) * 1e-9);
    EXPECT_NEAR(byTime->slope, 100.0 * 0.01 / 0.057, 0.5);  // mV per second
}

}  // namespace
