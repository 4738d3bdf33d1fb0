#include "app/lab/lab_window.h"
#include "lab/fit/fit_model.h"

#include "app/session/overload_text.h"

#include "app/lab/generator_panel.h"
#include "app/lab/graph_view.h"
#include "app/lab/lab_session.h"
#include "app/lab/live_values.h"
#include "app/lab/number_cell.h"
#include "app/lab/point_table_model.h"
#include "app/lab/row_number_header.h"
#include "app/lab/waveform_view.h"
#include "app/session/session.h"
#include "generator/track_bar_settings.h"
#include "lab/csv_writer.h"
#include "platform/files/whole_file.h"
#include "platform/wave/device_status.h"
#include "lab/czech_count.h"
#include "lab/record/flagged_points.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <limits>

namespace app::lab {
namespace {

const char* const kCsvSemicolon = "CSV se středníkem a desetinnou čárkou (*.csv)";
const char* const kCsvComma = "CSV s čárkou a desetinnou tečkou (*.csv)";
const char* const kPng = "Obrázek PNG (*.png)";
const char* const kSvg = "Obrázek SVG (*.svg)";

// "Smazán 1 bod", "Smazány 2 body", "Smazáno 5 bodů".
constexpr ::lab::CzechForms kDeleted{"Smazán", "Smazány", "Smazáno"};
constexpr ::lab::CzechForms kBack{"Vrácen", "Vráceny", "Vráceno"};

QPushButton* button(const char* text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLabel* label(const char* text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setBuddy(buddy);
    return l;
}

void fillQuantities(QComboBox* box) {
    for (const ::lab::Quantity q : ::lab::kQuantities)
        box->addItem(QStringLiteral("%1 %2").arg(::lab::nameOf(q), ::lab::headerOf(q)), ::lab::keyOf(q));
}

// Red for a problem, the window's own colour otherwise (a palette, not a style
// sheet: the text keeps following the window's size of type).
void colour(QWidget* w, bool problem) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, problem ? QColor(190, 0, 0) : w->parentWidget()->palette().color(QPalette::WindowText));
    w->setPalette(p);
}

// "ho" for one point, "je" for more.
QString them(std::size_t n) { return n == 1 ? QStringLiteral("ho") : QStringLiteral("je"); }

QString pointsWord(std::size_t n, const ::lab::CzechForms& verb) {
    return QStringLiteral("%1 %2").arg(::lab::czechForm(static_cast<long long>(n), verb),
                                       ::lab::czechCount(static_cast<long long>(n), ::lab::kPoints));
}

}  // namespace

LabWindow::LabWindow(LabSession& session, QWidget* parent) : QWidget(parent, Qt::Window), session_(session) {
    setObjectName(QStringLiteral("LabWindow"));
    setWindowTitle(QStringLiteral("Měření a grafy"));

    live_ = new LiveValues(this);
    controls_ = new QTabWidget(this);
    controls_->setObjectName(QStringLiteral("controls"));
    controls_->setUsesScrollButtons(false);  // every tab whole, never behind an arrow
    settings_ = {buildGeneratorBox(), buildRecordBox(), buildSweepBox()};
    // Alt and a field's letter reach it from any tab, as when all were in view.
    const auto focus = [](QAbstractSpinBox* box) {
        return [box] {
            box->setFocus(Qt::ShortcutFocusReason);
            box->selectAll();
        };
    };
    reach(settings_[2], QKeySequence(Qt::ALT | Qt::Key_O), focus(sweepFrom_));
    reach(settings_[2], QKeySequence(Qt::ALT | Qt::Key_D), focus(sweepTo_));
    reach(settings_[2], QKeySequence(Qt::ALT | Qt::Key_K), focus(sweepSteps_));
    reach(settings_[2], QKeySequence(Qt::ALT | Qt::Key_R), [this] { sweepStart_->animateClick(); });
    reach(settings_[1], QKeySequence(Qt::ALT | Qt::Key_S), [this] { record_->animateClick(); });
    reach(settings_[1], QKeySequence(Qt::ALT | Qt::Key_B), [this] { point_->animateClick(); });
    projector_ = button("Projektor", "projector", this);
    projector_->setCheckable(true);
    projector_->setToolTip(QStringLiteral("Velké písmo pro projektor (F9); Ctrl + a Ctrl − zvětší a zmenší písmo"));
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tablePanel_ = buildTablePanel();
    waveformPanel_ = buildWaveformPanel();
    graphPanel_ = buildGraphPanel();
    reach(graphChoice_, QKeySequence(Qt::ALT | Qt::Key_M), [this] { fit_->toggle(); });

    auto* root = new QVBoxLayout(this);
    root->addWidget(live_);
    connectSession();

    const auto shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* s = new QShortcut(keys, this);
        s->setAutoRepeat(false);
        connect(s, &QShortcut::activated, this, slot);
        return s;
    };
    shortcut(QKeySequence(Qt::Key_F11), [this] { toggleFullScreen(); });
    shortcut(QKeySequence(Qt::Key_Escape), [this] {
        if (isFullScreen()) toggleFullScreen();
    });
    shortcut(QKeySequence(Qt::Key_F9), [this] { projector_->toggle(); });
    for (const QKeySequence& in : {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)})
        shortcut(in, [this] { zoomBy(1); });
    shortcut(QKeySequence(QKeySequence::ZoomOut), [this] { zoomBy(-1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { zoomBy(0); });
    shortcut(QKeySequence(QKeySequence::Undo), [this] { undo(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [this] { redo(); });
    connect(controls_, &QTabWidget::currentChanged, this, &LabWindow::reachSettings);
    connect(projector_, &QPushButton::toggled, this,
            [this](bool on) { arrange(on ? Layout::Projector : Layout::Desk); });

    connect(&timer_, &QTimer::timeout, this, &LabWindow::refresh);
    timer_.start(200);
    arrange(Layout::Desk);
    showChoice();
    showRecording();
    showSweep();
    showSweepPlan();
    showEdits();
    showFlagged();
    showOverload();
    refresh();
}

void LabWindow::connectSession() {
    connect(&session_, &LabSession::pointAdded, this, [this] {
        QScrollBar* bar = table_->verticalScrollBar();
        if (bar->value() >= bar->maximum() - 1) table_->scrollToBottom();
        showAnalysis();
        if (session_.record().flaggedCount() > 0) showFlagged();
    });
    connect(&session_, &LabSession::recordEdited, this, [this] {
        showAnalysis();
        showEdits();
        showFlagged();
    });
    connect(&session_, &LabSession::runsChanged, this, [this] {
        const ::lab::Run* run = session_.record().currentRun();
        runNow_->setText(run != nullptr ? QStringLiteral("Body se zapisují do: %1").arg(::lab::runTitle(*run))
                                        : QStringLiteral("Další bod začne nový běh."));
        showAnalysis();
    });
    connect(&session_, &LabSession::graphChanged, this, &LabWindow::showChoice);
    connect(&session_, &LabSession::recordingChanged, this, &LabWindow::showRecording);
    connect(&session_, &LabSession::sweepChanged, this, &LabWindow::showSweep);
    connect(&session_, &LabSession::pointTaken, this, [this] { tell(QStringLiteral("Bod je zapsán."), false); });
    connect(&session_, &LabSession::pointRefused, this, [this](bool overload) {
        tell(overload ? QStringLiteral("Vstup zvukové karty je přebuzený: snižte amplitudu generátoru a bod "
                                       "zapište znovu.")
                      : QStringLiteral("Údaj se za %1 s neustálil, bod nebyl zapsán. Zkontrolujte zapojení a "
                                       "zkuste to znovu.")
                            .arg(static_cast<int>(LabSession::kPointPatience)),
             true);
    });
    connect(&session_.session(), &session::Session::overloadChanged, this, &LabWindow::showOverload);
}

// --- the panels

void LabWindow::reach(QWidget* page, QKeySequence keys, std::function<void()> act) {
    auto* s = new QShortcut(keys, this);
    s->setAutoRepeat(false);
    connect(s, &QShortcut::activated, this, [this, page, act = std::move(act)] {
        controls_->setCurrentWidget(page);
        act();
    });
    reaching_.push_back({page, s});
}

void LabWindow::reachSettings() {
    // Only while the page is a tab not shown: there its own mnemonic answers.
    for (const auto& [page, shortcut] : reaching_)
        shortcut->setEnabled(controls_->indexOf(page) >= 0 && controls_->currentWidget() != page);
}

QWidget* LabWindow::buildGeneratorBox() {
    generator_ = new GeneratorPanel(session_.session(), this);
    return generator_;
}

QWidget* LabWindow::buildRecordBox() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    record_ = button("&Spustit záznam", "record", box);
    point_ = button("Zapsat &bod", "point", box);
    auto* newRun = button("No&vý běh", "newRun", box);
    newRun->setToolTip(QStringLiteral("Další body budou v novém běhu (v tabulce ve sloupci „běh“)"));
    interval_ = new QDoubleSpinBox(box);
    interval_->setObjectName(QStringLiteral("interval"));
    interval_->setLocale(QLocale(QLocale::Czech));
    interval_->setRange(0, LabSession::kLongestInterval);
    interval_->setDecimals(1);
    interval_->setSingleStep(0.1);
    interval_->setPrefix(QStringLiteral("každých "));
    interval_->setSuffix(QStringLiteral(" s"));
    interval_->setSpecialValueText(QStringLiteral("při každém bloku"));
    runNow_ = new QLabel(QStringLiteral("Další bod začne nový běh."), box);
    runNow_->setObjectName(QStringLiteral("runNow"));
    grid->addWidget(new QLabel(QStringLiteral("Zapisovat body:"), box), 0, 0);
    grid->addWidget(interval_, 0, 1);
    grid->addWidget(record_, 1, 0);
    grid->addWidget(point_, 1, 1);
    grid->addWidget(newRun, 2, 0);
    grid->addWidget(runNow_, 2, 1);
    grid->setRowStretch(3, 1);
    connect(record_, &QPushButton::clicked, this, [this] {
        if (session_.recording())
            session_.stopRecording();
        else
            session_.startRecording();
    });
    connect(interval_, &QDoubleSpinBox::valueChanged, this, [this](double s) { session_.setInterval(s); });
    connect(point_, &QPushButton::clicked, this, [this] {
        session_.requestPoint();
        if (session_.pointPending()) tell(QStringLiteral("Čekám, až se údaj ustálí…"), false);
    });
    connect(newRun, &QPushButton::clicked, this, [this] {
        session_.newRun();
        tell(QStringLiteral("Další body budou v běhu „%1“.").arg(::lab::runTitle(*session_.record().currentRun())), false);
    });
    return box;
}

QWidget* LabWindow::buildSweepBox() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    // Wider than the generator can go: what cannot be done is said below the
    // fields rather than cut short by them ("Do" 5000 stays 5000, not 500).
    const auto number = [box](const char* name, int value, const char* suffix) {
        auto* s = new QSpinBox(box);
        s->setObjectName(QLatin1String(name));
        s->setRange(0, 99999);
        s->setValue(value);
        s->setSuffix(QString::fromUtf8(suffix));
        return s;
    };
    sweepFrom_ = number("sweepFrom", 20, " Hz");
    sweepTo_ = number("sweepTo", 1000, " Hz");
    sweepSteps_ = number("sweepSteps", 40, "");
    sweepScale_ = new QComboBox(box);
    sweepScale_->setObjectName(QStringLiteral("sweepScale"));
    sweepScale_->addItem(QStringLiteral("logaritmicky"));
    sweepScale_->addItem(QStringLiteral("lineárně"));
    sweepStart_ = button("Spustit &rozmítání", "sweepStart", box);
    sweepCancel_ = button("Zrušit", "sweepCancel", box);
    sweepProgress_ = new QProgressBar(box);
    sweepProgress_->setObjectName(QStringLiteral("sweepProgress"));
    sweepPlan_ = new QLabel(box);
    sweepPlan_->setObjectName(QStringLiteral("sweepPlan"));
    sweepPlan_->setWordWrap(true);
    // Alt+O, Alt+D, Alt+K reach the fields, Alt+R starts.
    grid->addWidget(label("&Od:", sweepFrom_, box), 0, 0);
    grid->addWidget(sweepFrom_, 0, 1);
    grid->addWidget(label("&Do:", sweepTo_, box), 0, 2);
    grid->addWidget(sweepTo_, 0, 3);
    grid->addWidget(label("&Kroků:", sweepSteps_, box), 1, 0);
    grid->addWidget(sweepSteps_, 1, 1);
    grid->addWidget(sweepScale_, 1, 2, 1, 2);
    grid->addWidget(sweepStart_, 2, 0, 1, 2);
    grid->addWidget(sweepCancel_, 2, 2, 1, 2);
    grid->addWidget(sweepProgress_, 3, 0, 1, 4);
    grid->addWidget(sweepPlan_, 4, 0, 1, 4);
    grid->setRowStretch(5, 1);
    connect(sweepStart_, &QPushButton::clicked, this, &LabWindow::startSweep);
    connect(sweepCancel_, &QPushButton::clicked, this, [this] { session_.cancelSweep(); });
    for (QSpinBox* s : {sweepFrom_, sweepTo_, sweepSteps_})
        connect(s, &QSpinBox::valueChanged, this, &LabWindow::showSweepPlan);
    connect(sweepScale_, &QComboBox::currentIndexChanged, this, &LabWindow::showSweepPlan);
    return box;
}

QWidget* LabWindow::buildTablePanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    model_ = new PointTableModel(session_, this);
    table_ = new QTableView(panel);
    table_->setObjectName(QStringLiteral("pointTable"));
    table_->setVerticalHeader(new RowNumberHeader(table_));
    table_->setModel(model_);
    table_->setItemDelegate(new NumberCell(table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(table_, 1);

    auto* row = new QHBoxLayout;
    deletePoints_ = button("Smazat vybrané", "deletePoints", panel);
    undo_ = button("Zpět", "undo", panel);
    undo_->setToolTip(QStringLiteral("Vrátí poslední smazání (Ctrl+Z)"));
    redo_ = button("Znovu", "redo", panel);
    redo_->setToolTip(QStringLiteral("Smaže znovu, co Zpět vrátilo (Ctrl+Shift+Z)"));
    auto* clear = button("Smazat všechny body…", "clear", panel);
    auto* exportCsv = button("Uložit tabulku (&CSV)…", "exportCsv", panel);
    row->addWidget(deletePoints_);
    row->addWidget(undo_);
    row->addWidget(redo_);
    row->addStretch();
    layout->addLayout(row);
    auto* files = new QHBoxLayout;
    files->addWidget(exportCsv);
    files->addStretch();
    // Away from the buttons of every day, behind a question.
    files->addWidget(clear);
    layout->addLayout(files);

    // Delete on the table, and the same in its menu.
    auto* remove = new QAction(QStringLiteral("Smazat vybrané body"), table_);
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    auto* undoAction = new QAction(QStringLiteral("Zpět (Ctrl+Z)"), table_);
    auto* redoAction = new QAction(QStringLiteral("Znovu (Ctrl+Shift+Z)"), table_);
    table_->addActions({remove, undoAction, redoAction});
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(remove, &QAction::triggered, this, &LabWindow::deleteSelected);
    connect(undoAction, &QAction::triggered, this, &LabWindow::undo);
    connect(redoAction, &QAction::triggered, this, &LabWindow::redo);
    connect(deletePoints_, &QPushButton::clicked, this, &LabWindow::deleteSelected);
    connect(undo_, &QPushButton::clicked, this, &LabWindow::undo);
    connect(redo_, &QPushButton::clicked, this, &LabWindow::redo);
    connect(clear, &QPushButton::clicked, this, &LabWindow::askClear);
    connect(exportCsv, &QPushButton::clicked, this, &LabWindow::askCsv);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &LabWindow::showEdits);
    connect(model_, &QAbstractItemModel::modelReset, this, &LabWindow::showEdits);
    return panel;
}

QWidget* LabWindow::buildWaveformPanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    waveforms_ = new WaveformView(session_, panel);
    layout->addWidget(waveforms_, 1);
    freeze_ = button("Zastavit &průběhy", "freeze", panel);
    freeze_->setCheckable(true);
    auto* row = new QHBoxLayout;
    row->addWidget(freeze_);
    row->addStretch();
    layout->addLayout(row);
    connect(freeze_, &QPushButton::toggled, this, [this](bool on) {
        session_.freezeWaveforms(on);
        freeze_->setText(on ? QStringLiteral("&Pokračovat") : QStringLiteral("Zastavit &průběhy"));
        waveforms_->refresh();
    });
    return panel;
}

QWidget* LabWindow::buildGraphPanel() {
    // The choice of the graph: above it at the desk, a tab of the settings on a projector.
    graphChoice_ = new QWidget(this);
    auto* choice = new QVBoxLayout(graphChoice_);
    choice->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    graphY_ = new QComboBox(graphChoice_);
    graphY_->setObjectName(QStringLiteral("graphY"));
    graphX_ = new QComboBox(graphChoice_);
    graphX_->setObjectName(QStringLiteral("graphX"));
    fillQuantities(graphY_);
    fillQuantities(graphX_);
    for (QComboBox* c : {graphY_, graphX_}) c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    graphY_->setMinimumContentsLength(12);
    graphX_->setMinimumContentsLength(10);
    logX_ = new QCheckBox(QStringLiteral("log. x"), graphChoice_);
    logX_->setObjectName(QStringLiteral("logX"));
    logY_ = new QCheckBox(QStringLiteral("log. y"), graphChoice_);
    logY_->setObjectName(QStringLiteral("logY"));
    fit_ = new QCheckBox(QStringLiteral("Proložit pří&mku / křivku:"), graphChoice_);
    fit_->setObjectName(QStringLiteral("fit"));
    fit_->setToolTip(QStringLiteral("Proložit body každého běhu zvolenou křivkou"));
    auto* exportGraph = button("Ulo&žit graf…", "exportGraph", graphChoice_);
    row->addWidget(label("Gr&af:", graphY_, graphChoice_));
    row->addWidget(graphY_, 1);
    row->addWidget(new QLabel(QStringLiteral("na ose x:"), graphChoice_));
    row->addWidget(graphX_, 1);
    choice->addLayout(row);
    auto* axes = new QHBoxLayout;
    axes->addWidget(logX_);
    axes->addWidget(logY_);
    QBoxLayout* analysis = buildAnalysisControls();
    axes->addStretch();
    axes->addWidget(exportGraph);
    choice->addLayout(axes);
    choice->addLayout(analysis);

    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    graph_ = new GraphView(session_, panel);
    layout->addWidget(graph_, 1);
    // One line each, whose width does not move the window's layout as their
    // numbers change with every point; shown when they have something to say.
    fitText_ = new QLabel(panel);
    fitText_->setObjectName(QStringLiteral("fitText"));
    flaggedText_ = new QLabel(panel);
    flaggedText_->setObjectName(QStringLiteral("flaggedText"));
    colour(flaggedText_, true);
    cursorText_ = new QLabel(panel);
    cursorText_->setObjectName(QStringLiteral("cursorText"));
    peakText_ = new QLabel(panel);
    peakText_->setObjectName(QStringLiteral("peakText"));
    for (QLabel* l : {fitText_, peakText_, cursorText_, flaggedText_}) {
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        layout->addWidget(l);
        l->hide();
    }
    for (QComboBox* c : {graphY_, graphX_})
        connect(c, &QComboBox::currentIndexChanged, this, &LabWindow::chooseGraph);
    for (QCheckBox* c : {logX_, logY_, fit_, peaks_, origin_})
        connect(c, &QCheckBox::toggled, this, &LabWindow::chooseGraph);
    // Choosing a curve fits it.
    connect(fitModel_, &QComboBox::currentIndexChanged, this, [this](int index) {
        session_.setFitModel(::lab::fit::kModels[static_cast<std::size_t>(std::max(0, index))]);
    });
    graph_->onCursorMoved = [this] { setLine(cursorText_, graph_->cursorText()); };
    connect(exportGraph, &QPushButton::clicked, this, &LabWindow::askGraph);
    return panel;
}

void LabWindow::setLine(QLabel* line, const QString& text) {
    line->setText(text);
    line->setVisible(!text.isEmpty());
}

// --- what the session says

void LabWindow::chooseGraph() {
    ::lab::GraphChoice choice;
    choice.y = ::lab::kQuantities[static_cast<std::size_t>(std::max(0, graphY_->currentIndex()))];
    choice.x = ::lab::kQuantities[static_cast<std::size_t>(std::max(0, graphX_->currentIndex()))];
    choice.logX = logX_->isChecked();
    choice.logY = logY_->isChecked();
    choice.fit = fit_->isChecked();
    choice.peaks = peaks_->isChecked();
    choice.origin = origin_->isChecked();
    session_.setGraph(choice);
    if (choice.fit) session_.setFitModel(::lab::fit::kModels[static_cast<std::size_t>(std::max(0, fitModel_->currentIndex()))]);
}

void LabWindow::showChoice() {
    const ::lab::GraphChoice& c = session_.graph();
    const QSignalBlocker a(graphY_), b(graphX_), d(logX_), e(logY_), f(fit_), g(fitModel_), h(peaks_), i(origin_);
    graphY_->setCurrentIndex(static_cast<int>(::lab::indexOf(c.y)));
    graphX_->setCurrentIndex(static_cast<int>(::lab::indexOf(c.x)));
    logX_->setChecked(c.logX);
    logY_->setChecked(c.logY);
    fit_->setChecked(c.fit);
    showAnalysis();
}

void LabWindow::showRecording() {
    record_->setText(session_.recording() ? QStringLiteral("Za&stavit záznam") : QStringLiteral("&Spustit záznam"));
    const QSignalBlocker block(interval_);
    interval_->setValue(session_.interval());
}

void LabWindow::showSweep() {
    const LabSession::SweepProgress& s = session_.sweep();
    sweepStart_->setEnabled(!s.running && sweepPlan_->property("problem").toString().isEmpty());
    sweepCancel_->setEnabled(s.running);
    sweepProgress_->setRange(0, std::max(1, s.steps));
    sweepProgress_->setValue(s.step);
    if (s.running) {
        tell(QStringLiteral("Rozmítání: krok %1 z %2").arg(s.step + 1).arg(s.steps), false);
    } else if (s.finished) {
        const ::lab::PointRecord& record = session_.record();
        const ::lab::FlaggedPoints flagged = ::lab::flaggedPoints(record, s.run);
        if (flagged.count() == 0)
            tell(QStringLiteral("Rozmítání skončilo: %1. Generátor je zpět na původním kmitočtu.")
                     .arg(::lab::czechCount(s.step, ::lab::kPoints)),
                 false);
        else
            tell(QStringLiteral("Rozmítání skončilo, ale ne všechny body platí. %1 Snižte amplitudu generátoru a "
                                "rozmítejte znovu.")
                     .arg(::lab::flaggedText(record, flagged, static_cast<std::size_t>(s.step))),
                 true);
    } else if (s.cancelled) {
        tell(QStringLiteral("Rozmítání je zrušeno. Generátor je zpět na původním kmitočtu."), false);
    }
}

void LabWindow::showSweepPlan() {
    const ::lab::SweepPlan plan{sweepFrom_->value(), sweepTo_->value(), sweepSteps_->value(),
                                sweepScale_->currentIndex() == 0};
    const session::Session& s = session_.session();
    const QString problem = ::lab::sweepPlanProblemCzech(
        plan, std::max(generator::kLowestFrequency, s.barMinimum(session::Bar::Frequency)), s.barMaximum(session::Bar::Frequency));
    sweepPlan_->setProperty("problem", problem);
    sweepPlan_->setText(problem.isEmpty() ? QStringLiteral("%1 od %2 do %3 Hz, každý asi 1,4 s.")
                                                .arg(::lab::czechCount(plan.steps, ::lab::kSteps))
                                                .arg(plan.fromHz)
                                                .arg(plan.toHz)
                                          : problem);
    colour(sweepPlan_, !problem.isEmpty());
    sweepStart_->setEnabled(!session_.sweep().running && problem.isEmpty());
}

void LabWindow::showEdits() {
    deletePoints_->setEnabled(table_->selectionModel()->hasSelection());
    undo_->setEnabled(session_.canUndo());
    redo_->setEnabled(session_.canRedo());
}

void LabWindow::showFlagged() {
    const ::lab::PointRecord& record = session_.record();
    setLine(flaggedText_, ::lab::flaggedText(record, ::lab::flaggedPoints(record), record.size()));
}

void LabWindow::showOverload() {
    const auto& input = session_.session().state.LineInput;
    live_->setNote(session::overloadText(input.current.overload, input.voltage.overload));
}

void LabWindow::startSweep() {
    const ::lab::SweepPlan plan{sweepFrom_->value(), sweepTo_->value(), sweepSteps_->value(),
                                sweepScale_->currentIndex() == 0};
    const QString problem = session_.startSweep(plan);
    if (!problem.isEmpty()) {
        showSweepPlan();
        tell(QStringLiteral("Rozmítání nelze spustit. %1").arg(sweepPlan_->text()), true);
    }
}

void LabWindow::refresh() {
    // While the sound input is away the last values are not live: dashes, the
    // time it went, and a sweep cannot go on.
    if (const auto outage = platform::wave::deviceOutage(platform::wave::Direction::Input)) {
        ::lab::LabPoint none;
        none.values.fill(std::numeric_limits<double>::quiet_NaN());
        live_->display(none);
        const QString since = QDateTime::fromSecsSinceEpoch(std::chrono::duration_cast<std::chrono::seconds>(
                                                                outage->since.time_since_epoch())
                                                                .count())
                                  .toString(QStringLiteral("H:mm:ss"));
        live_->setNote(QStringLiteral("Zvukový vstup není k dispozici od %1.").arg(since));
        soundAway_ = true;
        if (session_.sweep().running) {
            session_.cancelSweep();
            tell(QStringLiteral("Rozmítání je zastaveno: zvukový vstup není k dispozici."), true);
        }
        return;
    }
    if (soundAway_) {
        soundAway_ = false;
        showOverload();
    }
    live_->display(session_.livePoint());
    if (!session_.waveformsFrozen() && isVisible()) waveforms_->refresh();
}

// --- editing the record

void LabWindow::deleteSelected() {
    std::vector<std::size_t> rows;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(i.row()));
    if (rows.empty()) {
        tell(QStringLiteral("Nejdřív v tabulce vyberte body, které chcete smazat."), false);
        return;
    }
    const std::size_t before = session_.record().size();
    if (session_.deleteRows(rows)) {
        const std::size_t gone = before - session_.record().size();
        tell(QStringLiteral("%1. Vrátí %2 Zpět (Ctrl+Z).").arg(pointsWord(gone, kDeleted), them(gone)), false);
    }
}

void LabWindow::undo() {
    const std::size_t before = session_.record().size();
    if (!session_.undo()) {
        tell(QStringLiteral("Není co vrátit."), false);
        return;
    }
    tell(QStringLiteral("%1.").arg(pointsWord(session_.record().size() - before, kBack)), false);
}

void LabWindow::redo() {
    const std::size_t before = session_.record().size();
    if (!session_.redo()) {
        tell(QStringLiteral("Není co smazat znovu."), false);
        return;
    }
    tell(QStringLiteral("Znovu %1.").arg(pointsWord(before - session_.record().size(), kDeleted).toLower()), false);
}

void LabWindow::clearNow() {
    const std::size_t before = session_.record().size();
    session_.clear();
    tell(QStringLiteral("%1. Vrátí %2 Zpět (Ctrl+Z).").arg(pointsWord(before, kDeleted), them(before)), false);
}

void LabWindow::askClear() {
    const std::size_t n = session_.record().size();
    if (n == 0) {
        tell(QStringLiteral("Tabulka je prázdná."), false);
        return;
    }
    if (!session_.unexported()) {
        clearNow();
        return;
    }
    const QString question = n == 1   ? QStringLiteral("Smazat jediný bod?")
                             : n <= 4 ? QStringLiteral("Smazat všechny %1 body?").arg(n)
                                      : QStringLiteral("Smazat všech %1 bodů?").arg(n);
    auto* box = new QMessageBox(QMessageBox::Question, windowTitle(), question, QMessageBox::NoButton, this);
    box->setObjectName(QStringLiteral("clearQuestion"));
    box->setInformativeText(QStringLiteral("Tabulka není uložená. Smazání lze vrátit tlačítkem Zpět (Ctrl+Z)."));
    QPushButton* yes = box->addButton(QStringLiteral("Smazat"), QMessageBox::DestructiveRole);
    box->setDefaultButton(box->addButton(QStringLiteral("Ponechat"), QMessageBox::RejectRole));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QMessageBox::finished, this, [this, box, yes] {
        if (box->clickedButton() == yes) clearNow();
    });
    box->open();
}

// --- files

QString LabWindow::exportCsv(const QString& path, const ::lab::CsvDialect& dialect) {
    const auto written = platform::files::writeWholeFile(path, ::lab::csvOf(session_.record(), dialect));
    if (!written.ok()) return QStringLiteral("Tabulku nelze uložit do %1: %2.").arg(path, written.czech());
    session_.markExported();
    return {};
}

QString LabWindow::exportGraph(const QString& path) {
    const auto written = graph_->save(path);
    return written.ok() ? QString() : QStringLiteral("Graf nelze uložit do %1: %2.").arg(path, written.czech());
}

void LabWindow::askCsv() {
    const QString semicolon = QString::fromUtf8(kCsvSemicolon);
    const QString comma = QString::fromUtf8(kCsvComma);
    QString filter = ::lab::dialectFor(QLocale()) == ::lab::kSemicolonDecimalComma ? semicolon : comma;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Uložit tabulku"), QStringLiteral("mereni.csv"),
                                                semicolon + QStringLiteral(";;") + comma, &filter);
    if (path.isEmpty()) return;
    if (!path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) path += QStringLiteral(".csv");
    const QString problem =
        exportCsv(path, filter == comma ? ::lab::kCommaDecimalPoint : ::lab::kSemicolonDecimalComma);
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), problem);
        return;
    }
    tell(QStringLiteral("Tabulka je uložena: %1").arg(path), false);
}

void LabWindow::askGraph() {
    const QString png = QString::fromUtf8(kPng);
    const QString svg = QString::fromUtf8(kSvg);
    QString filter = png;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Uložit graf"), QStringLiteral("graf.png"),
                                                png + QStringLiteral(";;") + svg, &filter);
    if (path.isEmpty()) return;
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) &&
        !path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        path += filter == svg ? QStringLiteral(".svg") : QStringLiteral(".png");
    const QString problem = exportGraph(path);
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), problem);
        return;
    }
    tell(QStringLiteral("Graf je uložen: %1").arg(path), false);
}

void LabWindow::tell(const QString& text, bool problem) {
    message_->setText(text);
    colour(message_, problem);
}

}  // namespace app::lab
