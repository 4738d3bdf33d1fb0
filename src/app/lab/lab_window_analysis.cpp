// The lab window's analysis: the curve to fit, the marked peaks, the origin,
// the lines under the graph, and the laboratory protocol (PDF or printed).
#include "app/lab/graph_view.h"
#include "app/lab/lab_session.h"
#include "app/lab/lab_window.h"
#include "app/lab/protocol/protocol.h"
#include "lab/fit/fit_model.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace app::lab {

QBoxLayout* LabWindow::buildAnalysisControls() {
    QWidget* parent = graphChoice_;
    fitModel_ = new QComboBox(parent);
    fitModel_->setObjectName(QStringLiteral("fitModel"));
    for (const ::lab::fit::Model m : ::lab::fit::kModels) fitModel_->addItem(::lab::fit::modelName(m));
    fitModel_->setToolTip(QStringLiteral("Křivka, kterou se proloží body každého běhu"));
    peaks_ = new QCheckBox(QStringLiteral("Maximum a minimum"), parent);
    peaks_->setObjectName(QStringLiteral("peaks"));
    origin_ = new QCheckBox(QStringLiteral("Počátek"), parent);
    origin_->setObjectName(QStringLiteral("origin"));
    origin_->setToolTip(QStringLiteral("Lineární osy sahají až k nule"));
    fitModel_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fitModel_->setMinimumContentsLength(10);
    auto* rows = new QVBoxLayout;
    auto* curve = new QHBoxLayout;
    curve->addWidget(fit_);
    curve->addWidget(fitModel_, 1);
    rows->addLayout(curve);
    auto* more = new QHBoxLayout;
    more->addWidget(peaks_);
    more->addWidget(origin_);
    more->addStretch();
    protocol_ = new QPushButton(QStringLiteral("Protokol (PDF)…"), parent);
    protocol_->setObjectName(QStringLiteral("protocol"));
    auto* print = new QAction(QStringLiteral("Vytisknout protokol…"), protocol_);
    protocol_->addAction(print);
    protocol_->setContextMenuPolicy(Qt::ActionsContextMenu);
    protocol_->setToolTip(QStringLiteral("Laboratorní protokol do PDF; pravým tlačítkem tisk"));
    connect(protocol_, &QPushButton::clicked, this, &LabWindow::askProtocol);
    connect(print, &QAction::triggered, this, &LabWindow::printProtocol);
    classView_ = new QPushButton(QStringLiteral("Třída…"), parent);
    classView_->setObjectName(QStringLiteral("classView"));
    classView_->setToolTip(QStringLiteral("Hodnoty a graf v prohlížečích žáků, jen ke čtení"));
    classView_->hide();
    more->addWidget(classView_);
    more->addWidget(protocol_);
    rows->addLayout(more);
    return rows;
}

void LabWindow::setClassViewOpener(std::function<void()> open) {
    classView_->disconnect();
    connect(classView_, &QPushButton::clicked, this, std::move(open));
    classView_->show();
}

void LabWindow::showAnalysis() {
    {
        const QSignalBlocker a(fitModel_), b(peaks_), c(origin_);
        fitModel_->setCurrentIndex(fitModel_->findText(::lab::fit::modelName(session_.fitModel())));
        peaks_->setChecked(session_.graph().peaks);
        origin_->setChecked(session_.graph().origin);
    }
    setLine(fitText_, graph_->fitText());
    setLine(peakText_, graph_->peakText());
    setLine(cursorText_, graph_->cursorText());
}

void LabWindow::askProtocol() {
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Uložit protokol"), QStringLiteral("protokol.pdf"),
                                                QStringLiteral("Dokument PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    const auto written = writeProtocolPdf(path, session_, *graph_, protocolFacts(session_));
    if (!written.ok()) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("Protokol nelze uložit do %1: %2.").arg(path, written.czech()));
        return;
    }
    tell(QStringLiteral("Protokol je uložen: %1").arg(path), false);
}

void LabWindow::printProtocol() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Vytisknout protokol"));
    if (dialog.exec() != QDialog::Accepted) return;
    if (!paintProtocol(printer, session_, *graph_, protocolFacts(session_)))
        tell(QStringLiteral("Protokol nelze vytisknout: tiskárna ho nepřijala."), true);
}

}  // namespace app::lab
