#include "app/lab/waveform_view.h"

#include "app/lab/lab_session.h"
#include "lab/phase_words.h"

#include <algorithm>
#include <cmath>

namespace app::lab {
namespace {

// Points drawn per trace at most (the stretch shown holds up to 13 000 samples).
constexpr std::size_t kMostPoints = 1500;

const QColor kCurrentColour(190, 120, 0);
const QColor kVoltageColour(0, 120, 160);

}  // namespace

WaveformView::WaveformView(LabSession& session, QWidget* parent) : QCustomPlot(parent), session_(session) {
    setObjectName(QStringLiteral("waveforms"));
    setLocale(QLocale(QLocale::Czech));
    setMinimumSize(360, 150);
    plotLayout()->insertRow(0);
    title_ = new QCPTextElement(this, QString(), font());
    plotLayout()->addElement(0, 0, title_);
    xAxis->setLabel(QStringLiteral("t (ms) od náběžného průchodu proudu nulou"));
    yAxis->setLabel(QStringLiteral("proud i (mA)"));
    yAxis2->setLabel(QStringLiteral("napětí u (mV)"));
    yAxis2->setVisible(true);
    yAxis->setLabelColor(kCurrentColour);
    yAxis->setTickLabelColor(kCurrentColour);
    yAxis2->setLabelColor(kVoltageColour);
    yAxis2->setTickLabelColor(kVoltageColour);
    current_ = addGraph(xAxis, yAxis);
    current_->setPen(QPen(kCurrentColour, 2.0));
    current_->setName(QStringLiteral("proud i"));
    voltage_ = addGraph(xAxis, yAxis2);
    voltage_->setPen(QPen(kVoltageColour, 2.0));
    voltage_->setName(QStringLiteral("napětí u"));
    legend->setVisible(true);
    axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);
    setTextPixelSize(QFontInfo(font()).pixelSize());
    refresh();
}

void WaveformView::setTextPixelSize(int pixels) {
    QFont text = font();
    text.setPixelSize(pixels);
    QFont title = text;
    title.setPixelSize(pixels * 6 / 5);
    title.setBold(true);
    title_->setFont(title);
    for (QCPAxis* axis : {xAxis, yAxis, yAxis2}) {
        axis->setLabelFont(text);
        axis->setTickLabelFont(text);
    }
    legend->setFont(text);
    replot(rpQueuedReplot);
}

void WaveformView::refresh() {
    const LabSession::WaveformSource source = session_.waveformSource();
    const ::lab::Traces traces = session_.traces();
    const ::lab::TraceWindow& w = traces.window;
    const std::size_t stride = std::max<std::size_t>(1, w.length / kMostPoints);
    const double msPerSample = 1000.0 / static_cast<double>(source.rate);
    QVector<double> t, i, u;
    const auto count = static_cast<qsizetype>(w.length / stride + 1);
    t.reserve(count);
    i.reserve(count);
    u.reserve(count);
    double peakI = 0, peakU = 0;
    for (std::size_t k = 0; k < w.length; k += stride) {
        const std::size_t at = w.start + k;
        const double mA = (source.current[at] - source.reading.current.mean) * source.scale.milliamps;
        const double mV = (source.voltage[at] - source.reading.voltage.mean) * source.scale.millivolts;
        t.push_back(static_cast<double>(k) * msPerSample);
        i.push_back(mA);
        u.push_back(mV);
        peakI = std::max(peakI, std::fabs(mA));
        peakU = std::max(peakU, std::fabs(mV));
    }
    current_->setData(t, i, true);
    voltage_->setData(t, u, true);
    // Both zero lines in the middle, each trace filling its height.
    yAxis->setRange(-std::max(peakI, 1e-3) * 1.15, std::max(peakI, 1e-3) * 1.15);
    yAxis2->setRange(-std::max(peakU, 1e-3) * 1.15, std::max(peakU, 1e-3) * 1.15);
    xAxis->setRange(0, std::max(1.0, static_cast<double>(w.length) * msPerSample));
    phaseText_ = ::lab::phaseWords(source.reading, measure::circuitValues(source.reading, source.scale.milliamps,
                                                                          source.scale.millivolts));
    QString title = phaseText_;
    if (session_.waveformsFrozen()) title += QStringLiteral(" (zastaveno)");
    title_->setText(title);
    replot(rpQueuedReplot);
}

}  // namespace app::lab
