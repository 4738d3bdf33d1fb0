#include "app/lab/lab_window.h"

#include "app/lab/graph_view.h"
#include "app/lab/lab_session.h"
#include "app/lab/live_values.h"
#include "app/lab/number_cell.h"
#include "app/lab/point_table_model.h"
#include "app/lab/row_number_header.h"
#include "app/lab/waveform_view.h"
#include "lab/csv_writer.h"
#include "platform/files/whole_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace app::lab {
namespace {

const char* const kCsvSemicolon = "CSV se středníkem a desetinnou čárkou (*.csv)";
const char* const kCsvComma = "CSV s čárkou a desetinnou tečkou (*.csv)";
const char* const kPng = "Obrázek PNG (*.png)";
const char* const kSvg = "Obrázek SVG (*.svg)";

QPushButton* button(const char* text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

void fillQuantities(QComboBox* box) {
    for (const ::lab::Quantity q : ::lab::kQuantities)
        box->addItem(QStringLiteral("%1 %2").arg(::lab::nameOf(q), ::lab::headerOf(q)), ::lab::keyOf(q));
}

}  // namespace

LabWindow::LabWindow(LabSession& session, QWidget* parent) : QWidget(parent, Qt::Window), session_(session) {
    setObjectName(QStringLiteral("LabWindow"));
    setWindowTitle(QStringLiteral("Měření a grafy"));
    resize(1100, 900);

    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    live_ = new LiveValues(this);
    left->addWidget(live_);
    left->addWidget(buildRecordBox());
    left->addWidget(buildSweepBox());
    auto* exports = new QHBoxLayout;
    auto* exportCsv = button("Uložit &tabulku (CSV)…", "exportCsv", this);
    auto* exportGraph = button("Uložit &graf…", "exportGraph", this);
    exports->addWidget(exportCsv);
    exports->addWidget(exportGraph);
    left->addLayout(exports);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setWordWrap(true);
    left->addWidget(message_);
    model_ = new PointTableModel(session_, this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("pointTable"));
    table_->setVerticalHeader(new RowNumberHeader(table_));
    table_->setModel(model_);
    table_->setItemDelegate(new NumberCell(table_));
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setDefaultSectionSize(62);
    left->addWidget(table_, 1);
    layout->addLayout(left, 0);

    auto* middle = new QVBoxLayout;
    waveforms_ = new WaveformView(session_, this);
    middle->addWidget(waveforms_, 2);
    freeze_ = button("Zastavit &průběhy", "freeze", this);
    freeze_->setCheckable(true);
    auto* freezeRow = new QHBoxLayout;
    freezeRow->addWidget(freeze_);
    freezeRow->addStretch();
    middle->addLayout(freezeRow);
    middle->addWidget(buildGraphBox(), 3);
    layout->addLayout(middle, 1);

    connect(exportCsv, &QPushButton::clicked, this, &LabWindow::askCsv);
    connect(exportGraph, &QPushButton::clicked, this, &LabWindow::askGraph);
    connect(freeze_, &QPushButton::toggled, this, [this](bool on) {
        session_.freezeWaveforms(on);
        freeze_->setText(on ? QStringLiteral("&Pokračovat") : QStringLiteral("Zastavit &průběhy"));
        waveforms_->refresh();
    });
    connect(&session_, &LabSession::pointAdded, this, [this] {
        QScrollBar* bar = table_->verticalScrollBar();
        if (bar->value() >= bar->maximum() - 1) table_->scrollToBottom();
        fitText_->setText(graph_->fitText());
    });
    connect(&session_, &LabSession::cleared, this, [this] { fitText_->setText(graph_->fitText()); });
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
    auto* fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), this);
    connect(fullScreen, &QShortcut::activated, this, &LabWindow::toggleFullScreen);
    connect(&timer_, &QTimer::timeout, this, &LabWindow::refresh);
    timer_.start(200);
    showChoice();
    showRecording();
    showSweep();
    refresh();
}

QWidget* LabWindow::buildRecordBox() {
    auto* box = new QGroupBox(QStringLiteral("Záznam"), this);
    auto* grid = new QGridLayout(box);
    record_ = button("&Spustit záznam", "record", box);
    point_ = button("Zapsat &bod", "point", box);
    auto* clear = button("Smazat body", "clear", box);
    interval_ = new QDoubleSpinBox(box);
    interval_->setObjectName(QStringLiteral("interval"));
    interval_->setRange(0, LabSession::kLongestInterval);
    interval_->setDecimals(1);
    interval_->setSingleStep(0.1);
    interval_->setSuffix(QStringLiteral(" s"));
    interval_->setSpecialValueText(QStringLiteral("každý blok"));
    grid->addWidget(new QLabel(QStringLiteral("Bod:"), box), 0, 0);
    grid->addWidget(interval_, 0, 1);
    grid->addWidget(record_, 0, 2);
    grid->addWidget(point_, 1, 1);
    grid->addWidget(clear, 1, 2);
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
    connect(clear, &QPushButton::clicked, this, [this] { session_.clear(); });
    return box;
}

QWidget* LabWindow::buildSweepBox() {
    auto* box = new QGroupBox(QStringLiteral("Rozmítání kmitočtu"), this);
    auto* grid = new QGridLayout(box);
    const auto hz = [box](const char* name, int value) {
        auto* s = new QSpinBox(box);
        s->setObjectName(QLatin1String(name));
        s->setRange(20, 1000);
        s->setValue(value);
        s->setSuffix(QStringLiteral(" Hz"));
        return s;
    };
    sweepFrom_ = hz("sweepFrom", 20);
    sweepTo_ = hz("sweepTo", 1000);
    sweepSteps_ = new QSpinBox(box);
    sweepSteps_->setObjectName(QStringLiteral("sweepSteps"));
    sweepSteps_->setRange(2, 1000);
    sweepSteps_->setValue(40);
    sweepScale_ = new QComboBox(box);
    sweepScale_->setObjectName(QStringLiteral("sweepScale"));
    sweepScale_->addItem(QStringLiteral("logaritmicky"));
    sweepScale_->addItem(QStringLiteral("lineárně"));
    sweepStart_ = button("Spustit &rozmítání", "sweepStart", box);
    sweepCancel_ = button("Zrušit", "sweepCancel", box);
    sweepProgress_ = new QProgressBar(box);
    sweepProgress_->setObjectName(QStringLiteral("sweepProgress"));
    // Alt+O, Alt+D, Alt+K reach the fields, Alt+R starts.
    const auto label = [box](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromUtf8(text), box);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label("&Od:", sweepFrom_), 0, 0);
    grid->addWidget(sweepFrom_, 0, 1);
    grid->addWidget(label("&Do:", sweepTo_), 0, 2);
    grid->addWidget(sweepTo_, 0, 3);
    grid->addWidget(label("&Kroků:", sweepSteps_), 1, 0);
    grid->addWidget(sweepSteps_, 1, 1);
    grid->addWidget(sweepScale_, 1, 2, 1, 2);
    grid->addWidget(sweepStart_, 2, 0, 1, 2);
    grid->addWidget(sweepCancel_, 2, 2, 1, 2);
    grid->addWidget(sweepProgress_, 3, 0, 1, 4);
    connect(sweepStart_, &QPushButton::clicked, this, &LabWindow::startSweep);
    connect(sweepCancel_, &QPushButton::clicked, this, [this] { session_.cancelSweep(); });
    return box;
}

QWidget* LabWindow::buildGraphBox() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    graphY_ = new QComboBox(box);
    graphY_->setObjectName(QStringLiteral("graphY"));
    graphX_ = new QComboBox(box);
    graphX_->setObjectName(QStringLiteral("graphX"));
    fillQuantities(graphY_);
    fillQuantities(graphX_);
    logX_ = new QCheckBox(QStringLiteral("log. x"), box);
    logX_->setObjectName(QStringLiteral("logX"));
    logY_ = new QCheckBox(QStringLiteral("log. y"), box);
    logY_->setObjectName(QStringLiteral("logY"));
    fit_ = new QCheckBox(QStringLiteral("Proložit pří&mku"), box);
    fit_->setObjectName(QStringLiteral("fit"));
    row->addWidget(new QLabel(QStringLiteral("Graf:"), box));
    row->addWidget(graphY_);
    row->addWidget(new QLabel(QStringLiteral("na ose x:"), box));
    row->addWidget(graphX_);
    row->addWidget(logX_);
    row->addWidget(logY_);
    row->addWidget(fit_);
    row->addStretch();
    layout->addLayout(row);
    graph_ = new GraphView(session_, box);
    layout->addWidget(graph_, 1);
    fitText_ = new QLabel(box);
    fitText_->setObjectName(QStringLiteral("fitText"));
    QFont big = fitText_->font();
    big.setPointSize(13);
    big.setBold(true);
    fitText_->setFont(big);
    // One line whose width does not move the window's layout as its numbers
    // change with every point.
    fitText_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    fitText_->setFixedHeight(fitText_->fontMetrics().height() + 4);
    layout->addWidget(fitText_);
    for (QComboBox* c : {graphY_, graphX_})
        connect(c, &QComboBox::currentIndexChanged, this, &LabWindow::chooseGraph);
    for (QCheckBox* c : {logX_, logY_, fit_}) connect(c, &QCheckBox::toggled, this, &LabWindow::chooseGraph);
    return box;
}

void LabWindow::chooseGraph() {
    ::lab::GraphChoice choice;
    choice.y = ::lab::kQuantities[static_cast<std::size_t>(std::max(0, graphY_->currentIndex()))];
    choice.x = ::lab::kQuantities[static_cast<std::size_t>(std::max(0, graphX_->currentIndex()))];
    choice.logX = logX_->isChecked();
    choice.logY = logY_->isChecked();
    choice.fit = fit_->isChecked();
    session_.setGraph(choice);
}

void LabWindow::showChoice() {
    const ::lab::GraphChoice& c = session_.graph();
    const QSignalBlocker a(graphY_), b(graphX_), d(logX_), e(logY_), f(fit_);
    graphY_->setCurrentIndex(static_cast<int>(::lab::indexOf(c.y)));
    graphX_->setCurrentIndex(static_cast<int>(::lab::indexOf(c.x)));
    logX_->setChecked(c.logX);
    logY_->setChecked(c.logY);
    fit_->setChecked(c.fit);
    fitText_->setText(graph_->fitText());
}

void LabWindow::showRecording() {
    record_->setText(session_.recording() ? QStringLiteral("Za&stavit záznam") : QStringLiteral("&Spustit záznam"));
    const QSignalBlocker block(interval_);
    interval_->setValue(session_.interval());
}

void LabWindow::showSweep() {
    const LabSession::SweepProgress& s = session_.sweep();
    sweepStart_->setEnabled(!s.running);
    sweepCancel_->setEnabled(s.running);
    sweepProgress_->setRange(0, std::max(1, s.steps));
    sweepProgress_->setValue(s.step);
    if (s.running)
        tell(QStringLiteral("Rozmítání: krok %1 z %2").arg(s.step + 1).arg(s.steps), false);
    else if (s.finished)
        tell(QStringLiteral("Rozmítání skončilo: %1 bodů. Generátor je zpět na původním kmitočtu.").arg(s.step),
             false);
    else if (s.cancelled)
        tell(QStringLiteral("Rozmítání je zrušeno. Generátor je zpět na původním kmitočtu."), false);
}

void LabWindow::startSweep() {
    if (!session_.record().empty()) {
        const auto answer = QMessageBox::question(
            this, windowTitle(),
            QStringLiteral("Rozmítání začne nový záznam a dosavadní body (%1) smaže. Pokračovat?")
                .arg(session_.record().size()));
        if (answer != QMessageBox::Yes) return;
    }
    const ::lab::SweepPlan plan{sweepFrom_->value(), sweepTo_->value(), sweepSteps_->value(),
                                sweepScale_->currentIndex() == 0};
    const QString problem = session_.startSweep(plan);
    if (!problem.isEmpty())
        tell(QStringLiteral("Rozmítání nelze spustit: kmitočty musí být různé a v rozsahu 20 až 1000 Hz, "
                            "kroků 2 až 1000."),
             true);
}

void LabWindow::refresh() {
    live_->display(session_.livePoint());
    if (!session_.waveformsFrozen() && isVisible()) waveforms_->refresh();
}

QString LabWindow::exportCsv(const QString& path, const ::lab::CsvDialect& dialect) {
    const auto written = platform::files::writeWholeFile(path, ::lab::csvOf(session_.record(), dialect));
    return written.ok() ? QString() : QStringLiteral("Tabulku nelze uložit do %1: %2.").arg(path, written.czech());
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

void LabWindow::toggleFullScreen() {
    if (isFullScreen())
        showNormal();
    else
        showFullScreen();
}

void LabWindow::tell(const QString& text, bool problem) {
    message_->setText(text);
    message_->setStyleSheet(problem ? QStringLiteral("color: #b00000;") : QString());
}

}  // namespace app::lab
