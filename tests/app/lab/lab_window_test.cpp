// The lab window driven through its widgets, offscreen, on the virtual bench
// with a series R, C load: a record at every block and at an interval, a
// settled point, the graph with its fit, a sweep that moves the hidden
// frequency bar and puts it back, the waveforms held still, and the exports.
#include "app/lab/graph_view.h"
#include "app/lab/live_values.h"
#include "app/lab/point_table_model.h"
#include "app/lab/lab.h"
#include "app/lab/lab_session.h"
#include "app/lab/lab_window.h"
#include "app/lab/waveform_view.h"
#include "app/run_files.h"
#include "app/window/form.h"
#include "lab/linear_fit.h"
#include "platform/files/guarded_files.h"
#include "support/program_run.h"
#include "support/rig.h"

#include <QAbstractItemModel>
#include <QApplication>
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
#include <QTabWidget>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <QAction>
#include <QFontInfo>

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
            if ((box->buttonRole(b) == QMessageBox::DestructiveRole) == clear) {
                b->click();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the box goes
                return;
            }
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

    // The run's own files are refused by any name, and the teacher is told which they are.
    app::Options options;
    options.audio = QStringLiteral("file");
    options.inputWav = dir_.filePath("nahravka.wav");
    QFile recording(options.inputWav);
    ASSERT_TRUE(recording.open(QIODevice::WriteOnly) && recording.write("RIFF") == 4);
    recording.close();
    ASSERT_TRUE(QFile::link(options.inputWav, dir_.filePath("odkaz.png")));
    ASSERT_EQ(app::checkRunFiles(options, dir_.filePath("calibration.json")), QString());
    EXPECT_EQ(window_->exportCsv(dir_.filePath("calibration.json"), lab::kCommaDecimalPoint),
              QStringLiteral("Tabulku nelze uložit do %1: to je soubor s profily kalibrace.")
                  .arg(dir_.filePath("calibration.json")));
    EXPECT_EQ(window_->exportGraph(dir_.filePath("odkaz.png")),
              QStringLiteral("Graf nelze uložit do %1: to je nahrávka, kterou program čte (--input-wav).")
                  .arg(dir_.filePath("odkaz.png")));
    platform::files::guardFiles({});
    EXPECT_EQ(testsupport::readFile(options.inputWav), QByteArray("RIFF"));
    EXPECT_FALSE(QFile::exists(dir_.filePath("calibration.json")));
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

// Deleting in the table, undo and redo, and "Smazat všechny body…", which asks
// while the table is not saved: the points back where they were, the buttons
// as they can be used, and nothing claimed that did not happen.
TEST_F(LabWindowTest, PointsAreDeletedAndBroughtBackAndClearingAsksWhileTheTableIsNotSaved) {
    for (int i = 0; i < 5; ++i) {
        ::lab::LabPoint p;
        p[::lab::Quantity::Time] = i;
        p[::lab::Quantity::Current] = 10.0 + i;
        p[::lab::Quantity::Voltage] = 1000.0;  // one operating point: U does not move with I
        lab_->session().add(p);
    }
    QTableView* table = widget<QTableView>("pointTable");
    auto* remove = widget<QPushButton>("deletePoints");
    EXPECT_FALSE(remove->isEnabled());
    table->selectRow(1);
    table->selectionModel()->select(table->model()->index(3, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_TRUE(remove->isEnabled());
    remove->click();
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(cell(1, 0), QStringLiteral("2,000"));
    EXPECT_EQ(widget<QLabel>("message")->text(), QStringLiteral("Smazány 2 body. Vrátí je Zpět (Ctrl+Z)."));
    widget<QPushButton>("undo")->click();
    ASSERT_EQ(rows(), 5);
    EXPECT_EQ(cell(1, 0), QStringLiteral("1,000"));
    EXPECT_FALSE(widget<QPushButton>("undo")->isEnabled());
    // The table's own menu: its first action deletes what is selected (Delete).
    table->selectRow(4);
    ASSERT_FALSE(table->actions().isEmpty());
    EXPECT_EQ(table->actions().front()->shortcut(), QKeySequence(QKeySequence::Delete));
    table->actions().front()->trigger();
    EXPECT_EQ(rows(), 4);
    widget<QPushButton>("undo")->click();
    widget<QPushButton>("redo")->click();
    EXPECT_EQ(rows(), 4);

    // A line through points whose x differ by a hundredth: no numbers.
    widget<QComboBox>("graphY")->setCurrentIndex(0);  // t
    widget<QComboBox>("graphX")->setCurrentIndex(3);  // U, the same at every point
    widget<QCheckBox>("fit")->setChecked(true);
    EXPECT_FALSE(lab_->session().fit());
    EXPECT_TRUE(widget<QLabel>("fitText")->text().startsWith(QStringLiteral("Nelze proložit: "))) << widget<QLabel>("fitText")->text().toStdString();

    // Not saved: asked, and "Ponechat" keeps everything.
    widget<QPushButton>("clear")->click();
    answerClearQuestion(false);
    EXPECT_EQ(rows(), 4);
    // Saved: cleared at once, and the message does not say the table is saved.
    ASSERT_EQ(window_->exportCsv(dir_.filePath("body.csv"), lab::kCommaDecimalPoint), QString());
    widget<QPushButton>("clear")->click();
    EXPECT_EQ(window_->findChild<QMessageBox*>(QStringLiteral("clearQuestion")), nullptr);
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(widget<QLabel>("message")->text(), QStringLiteral("Smazány 4 body. Vrátí je Zpět (Ctrl+Z)."));
    widget<QPushButton>("undo")->click();
    EXPECT_EQ(rows(), 4);
}

// The generator's entries move the session's bars as the teacher's move
// would, so the main window's bar and readout follow; typed values that
// cannot be set are set as near as can be and said; a bar moved in the main
// window shows in the entries.
TEST_F(LabWindowTest, TheGeneratorEntriesMoveTheMainWindowsBarsAndSayWhatTheyCannotSet) {
    auto* volts = widget<QDoubleSpinBox>("amplitude");
    auto* hertz = widget<QDoubleSpinBox>("frequency");
    auto* note = widget<QLabel>("generatorNote");
    volts->setValue(1.0);
    EXPECT_EQ(form_->Panel10->caption().trimmed(), QStringLiteral("1.00 V"));
    EXPECT_EQ(form_->TrackBar1->position(), rig_.session().barPosition(app::session::Bar::Amplitude));
    EXPECT_TRUE(note->text().isEmpty());
    volts->stepBy(1);  // an arrow key: one step of the readout
    EXPECT_EQ(form_->Panel10->caption().trimmed(), QStringLiteral("1.02 V"));
    volts->setValue(9.0);
    EXPECT_EQ(form_->TrackBar1->position(), 32000);
    EXPECT_EQ(note->text(), QStringLiteral("Zdroj dá nejvýš 3,56 V: nastaveno 3,56 V."));
    EXPECT_DOUBLE_EQ(volts->value(), 3.56);

    hertz->setValue(159.2);
    EXPECT_EQ(form_->GeneratorFrequency, 159);
    EXPECT_EQ(form_->TrackBar2->position(), 159);
    EXPECT_EQ(note->text(), QStringLiteral("Kmitočet se nastavuje po celých hertzích: nastaveno 159 Hz."));
    hertz->stepBy(10);  // PageUp
    EXPECT_EQ(form_->GeneratorFrequency, 169);
    hertz->setValue(5000);
    EXPECT_EQ(form_->GeneratorFrequency, 1000);
    EXPECT_EQ(note->text(), QStringLiteral("Generátor umí nejvýš 1000 Hz: nastaveno 1000 Hz."));

    form_->TrackBar1->userSetPosition(8000);
    EXPECT_EQ(volts->value(), QLocale(QLocale::C).toDouble(form_->Panel10->caption().trimmed().chopped(2)));
}

// On a projector every text is at least 20 pixels and the values twice as
// large, the window still fits a 1366 × 768 screen, the zoom goes both ways,
// and the desk layout fits beside the main window on a 1920 pixel screen.
TEST_F(LabWindowTest, TheProjectorLayoutHasLargeTextAndFitsASmallScreen) {
    const QSize desk = window_->minimumSizeHint();
    EXPECT_LE(desk.width(), 1920 - 820 - 10);
    EXPECT_LE(desk.height(), 1080 - 60);
    widget<QPushButton>("projector")->click();
    ASSERT_EQ(window_->arrangement(), app::lab::LabWindow::Layout::Projector);
    ASSERT_NE(window_->findChild<QTabWidget*>(QStringLiteral("views")), nullptr);
    QCoreApplication::processEvents();
    const auto fontOf = [](const QWidget* w) { return QFontInfo(w->font()).pixelSize(); };
    for (const QWidget* w : window_->findChildren<QWidget*>()) {
        EXPECT_GE(fontOf(w), 20) << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
    EXPECT_GE(fontOf(widget<QLabel>("valueCurrentMilliamps")), 40);
    EXPECT_GE(fontOf(widget<QLabel>("overloadNote")), 20);
    app::lab::GraphView& graph = window_->graph();
    for (QCPAxis* axis : {graph.xAxis, graph.yAxis}) {
        EXPECT_GE(axis->tickLabelFont().pixelSize(), 20);
        EXPECT_GE(axis->labelFont().pixelSize(), 20);
    }
    EXPECT_GE(graph.legend->font().pixelSize(), 20);
    QTableView* table = widget<QTableView>("pointTable");
    EXPECT_GE(table->verticalHeader()->defaultSectionSize(), table->fontMetrics().height());
    const QSize projector = window_->minimumSizeHint();
    EXPECT_LE(projector.width(), 1366) << projector.width();
    EXPECT_LE(projector.height(), 768 - 30) << projector.height();

    const int before = window_->textPixels();
    window_->zoomBy(1);
    EXPECT_GT(window_->textPixels(), before);
    window_->zoomBy(-2);
    EXPECT_LT(window_->textPixels(), before);
    window_->zoomBy(0);
    EXPECT_EQ(window_->textPixels(), before);
    widget<QPushButton>("projector")->click();
    EXPECT_EQ(window_->arrangement(), app::lab::LabWindow::Layout::Desk);
    EXPECT_EQ(window_->minimumSizeHint(), desk);
}

// Each run is a graph of its own; a hidden run leaves the graph and the fit,
// and a sweep begins a run beside the points before it rather than deleting them.
TEST_F(LabWindowTest, RunsAreDrawnApartAndAHiddenRunLeavesTheGraphAndTheFit) {
    app::lab::LabSession& session = lab_->session();
    const auto add = [&session](double i, double u) {
        ::lab::LabPoint p;
        p[::lab::Quantity::Current] = i;
        p[::lab::Quantity::Voltage] = u;
        session.add(p);
    };
    add(10, 1000);
    add(20, 2000);
    session.newRun(QStringLiteral("47 Ω"));
    add(10, 470);
    add(20, 940);
    session.setGraph(*::lab::parseGraphChoice(QStringLiteral("VoltageMillivolts:CurrentMilliamps"),
                                              ::lab::GraphChoice{.fit = true}));
    const ::lab::PointRecord& record = session.record();
    ASSERT_EQ(record.runs().size(), 2u);
    const int first = record.runs()[0].id;
    const int second = record.runs()[1].id;
    EXPECT_EQ(window_->graph().runGraph(first)->dataCount(), 2);
    EXPECT_EQ(window_->graph().runGraph(second)->dataCount(), 2);
    EXPECT_EQ(cell(2, app::lab::PointTableModel::kRunColumn), QStringLiteral("47 Ω"));
    EXPECT_EQ(session.fit()->points, 4u);
    session.setRunHidden(first, true);
    EXPECT_EQ(window_->graph().runGraph(first), nullptr);
    ASSERT_TRUE(session.fit());
    EXPECT_NEAR(session.fit()->slope, 47, 1e-9);
    widget<QSpinBox>("sweepFrom")->setValue(100);
    widget<QSpinBox>("sweepTo")->setValue(200);
    widget<QSpinBox>("sweepSteps")->setValue(2);
    widget<QPushButton>("sweepStart")->click();
    runFor(5.0);
    EXPECT_EQ(record.size(), 6u);
    EXPECT_EQ(record.runs().size(), 3u);
    EXPECT_EQ(::lab::runTitle(record.runs()[2]), QStringLiteral("Běh 3"));
}

// A logarithmic frequency axis is numbered 1, 2, 5 in every decade.
TEST_F(LabWindowTest, ALogarithmicFrequencyAxisIsNumberedOneTwoFive) {
    for (const double hz : {20.0, 1000.0}) {
        ::lab::LabPoint p;
        p[::lab::Quantity::Frequency] = hz;
        p[::lab::Quantity::Current] = 1;
        lab_->session().add(p);
    }
    lab_->session().setGraph(*::lab::parseGraphChoice(QStringLiteral("CurrentMilliamps:FrequencyHz:logx")));
    app::lab::GraphView& graph = window_->graph();
    graph.resize(800, 500);
    graph.replot(QCustomPlot::rpImmediateRefresh);
    QVector<double> ticks;
    QVector<QString> labels;
    graph.xAxis->ticker()->generate(graph.xAxis->range(), graph.locale(), 'g', 6, ticks, nullptr, &labels);
    QStringList shown;
    for (int i = 0; i < ticks.size(); ++i)
        if (graph.xAxis->range().contains(ticks[i])) shown << labels[i];
    EXPECT_EQ(shown, (QStringList{"20", "50", "100", "200", "500", "1000"}));
}

// While a channel clips the lab says so in red, without a profile too; a
// point taken then is flagged, drawn apart and left out of the fit.
TEST(LabOverload, AnOverloadIsShownAndItsPointsAreDrawnApartAndNotFitted) {
    testsupport::Rig rig;
    bench::BenchConfig config;
    config.lineInputGain = 50;  // a card whose input clips at this level
    rig.useBench(config);
    app::window::TForm1& form = rig.createWindow();
    auto* lab = new app::lab::Lab(rig.session(), form);
    app::lab::LabWindow& window = lab->window();
    ASSERT_FALSE(form.state.Calibration);  // without a profile too
    form.TrackBar1->userSetPosition(32000);
    rig.runFor(1.5);
    auto* note = testsupport::widget<QLabel>(window, "overloadNote");
    EXPECT_FALSE(note->isHidden());
    EXPECT_TRUE(note->text().contains(QStringLiteral("přebuzen"))) << note->text().toStdString();
    EXPECT_TRUE(note->text().contains(QStringLiteral("snižte amplitudu")));

    ::lab::GraphChoice choice;
    choice.y = ::lab::Quantity::Voltage;
    choice.x = ::lab::Quantity::Current;
    choice.fit = true;
    lab->session().setGraph(choice);
    lab->session().startRecording();
    rig.runFor(0.5);
    lab->session().stopRecording();
    const ::lab::PointRecord& record = lab->session().record();
    ASSERT_GE(record.size(), 5u);
    EXPECT_EQ(record.flaggedCount(), record.size());
    EXPECT_TRUE(record.overload(0));
    EXPECT_EQ(window.graph().flaggedGraph()->dataCount(), static_cast<int>(record.size()));
    EXPECT_EQ(window.graph().runGraph(record.runs().front().id)->dataCount(), 0);
    EXPECT_FALSE(lab->session().fit());
    EXPECT_TRUE(testsupport::widget<QLabel>(window, "flaggedText")->text().startsWith(QStringLiteral("Mimo proložení ")));

    form.TrackBar1->userSetPosition(500);
    rig.runFor(1.5);
    EXPECT_TRUE(note->isHidden());
}

}  // namespace

// The graph's tools: a curve chosen is fitted and stated, the peak marked;
// the cursor reads the point clicked and walks along x with the arrow keys;
// a zoom stays while points come, and a double click puts the axes back.
TEST_F(LabWindowTest, TheCursorReadsAPointTheCurveChosenIsFittedAndAZoomStays) {
    app::lab::LabSession& session = lab_->session();
    for (const double hz : {100.0, 130.0, 159.0, 190.0, 250.0}) {
        ::lab::LabPoint p;
        p[::lab::Quantity::Frequency] = hz;
        const double detune = hz / 159.15 - 159.15 / hz;
        p[::lab::Quantity::Current] = 150 / std::sqrt(1 + 9.0 * 9.0 * detune * detune);
        session.add(p);
    }
    session.setGraph(*::lab::parseGraphChoice(QStringLiteral("CurrentMilliamps:FrequencyHz:logx")));
    widget<QComboBox>("fitModel")->setCurrentIndex(2);  // "rezonanční křivka"
    ASSERT_NE(session.newestFit(), nullptr);
    EXPECT_TRUE(widget<QCheckBox>("fit")->isChecked());
    EXPECT_NEAR(session.newestFit()->parameter(QStringLiteral("F0"))->value, 159.15, 0.01);
    EXPECT_TRUE(widget<QLabel>("fitText")->text().startsWith(QStringLiteral("rezonanční křivka: f₀ = 159,1 ± 0")))
        << widget<QLabel>("fitText")->text().toStdString();
    EXPECT_TRUE(widget<QLabel>("peakText")->text().startsWith(QStringLiteral("maximum 150,0\u00A0mA při 159,1\u00A0Hz")))
        << widget<QLabel>("peakText")->text().toStdString();

    app::lab::GraphView& graph = window_->graph();
    graph.resize(800, 500);
    graph.setViewport(graph.rect());  // a hidden widget gets no resize event
    graph.replot(QCustomPlot::rpImmediateRefresh);
    const QPointF at(graph.xAxis->coordToPixel(190), graph.yAxis->coordToPixel(session.record().value(3, ::lab::Quantity::Current)));
    const auto mouse = [&graph](QEvent::Type type, QPointF where) {
        QMouseEvent e(type, where, graph.mapToGlobal(where), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QApplication::sendEvent(&graph, &e);
    };
    mouse(QEvent::MouseButtonPress, at + QPointF(6, -4));
    mouse(QEvent::MouseButtonRelease, at + QPointF(6, -4));
    ASSERT_EQ(graph.cursorRow(), std::optional<std::size_t>(3));
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, {});
    QApplication::sendEvent(&graph, &left);
    EXPECT_EQ(graph.cursorRow(), std::optional<std::size_t>(2));
    EXPECT_TRUE(widget<QLabel>("cursorText")->text().startsWith(QStringLiteral("f = 159,00\u00A0Hz; I = 149,9784\u00A0mA")))
        << widget<QLabel>("cursorText")->text().toStdString();

    QWheelEvent wheel(QPointF(400, 250), graph.mapToGlobal(QPointF(400, 250)), {}, QPoint(0, 240), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&graph, &wheel);
    const QCPRange zoomed = graph.xAxis->range();
    ASSERT_TRUE(graph.zoomed());
    ::lab::LabPoint far;
    far[::lab::Quantity::Frequency] = 900;
    far[::lab::Quantity::Current] = 10;
    session.add(far);
    EXPECT_EQ(graph.xAxis->range(), zoomed);
    mouse(QEvent::MouseButtonDblClick, QPointF(400, 250));
    EXPECT_FALSE(graph.zoomed());
    EXPECT_TRUE(graph.xAxis->range().contains(900));
}
