#include "app/lab/graph_view.h"

#include "app/lab/lab_session.h"
#include "lab/fit/statement.h"
#include "platform/files/whole_file.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

namespace app::lab {
namespace {

// A logarithmic axis numbered 1, 2, 5 in each decade (20, 50, 100, 200, 500,
// 1000 Hz), every whole multiple a small tick; over more than three decades
// the decades alone, within one every whole multiple numbered (and within
// half a decade 1.2, 1.5, 2.5 as well).
class TickerLog125 : public QCPAxisTickerLog {
protected:
    QVector<double> createTickVector(double, const QCPRange& range) override {
        QVector<double> ticks;
        if (!(range.lower > 0) || !(range.upper > range.lower)) return ticks;
        const double decades = std::log10(range.upper / range.lower);
        static const QVector<double> kFine{1, 1.2, 1.5, 2, 2.5, 3, 4, 5, 6, 7, 8, 9};
        static const QVector<double> kAll{1, 2, 3, 4, 5, 6, 7, 8, 9};
        static const QVector<double> k125{1, 2, 5};
        static const QVector<double> kOne{1};
        const QVector<double>& mantissas = decades <= 0.6   ? kFine
                                           : decades <= 1.2 ? kAll
                                           : decades <= 3.5 ? k125
                                                            : kOne;
        const int first = static_cast<int>(std::floor(std::log10(range.lower))) - 1;
        const int last = static_cast<int>(std::ceil(std::log10(range.upper))) + 1;
        for (int e = first; e <= last; ++e)
            for (const double m : mantissas) ticks.push_back(m * std::pow(10.0, e));
        return ticks;
    }
    QVector<double> createSubTickVector(int, const QVector<double>& ticks) override {
        QVector<double> sub;
        if (ticks.size() < 2) return sub;
        const int first = static_cast<int>(std::floor(std::log10(ticks.front())));
        const int last = static_cast<int>(std::ceil(std::log10(ticks.back())));
        for (int e = first; e <= last; ++e)
            for (int m = 1; m <= 9; ++m) {
                const double v = m * std::pow(10.0, e);
                if (v <= ticks.front() || v >= ticks.back()) continue;
                const bool isTick = std::any_of(ticks.begin(), ticks.end(),
                                                [v](double t) { return std::fabs(t - v) <= 1e-9 * v; });
                if (!isTick) sub.push_back(v);
            }
        return sub;
    }
};

// "Závislost proudu na kmitočtu": the quantity in the genitive, the other in the locative.
QString graphTitle(::lab::Quantity y, ::lab::Quantity x) {
    static const char* const kGenitive[] = {"času",   "kmitočtu",        "proudu",         "napětí",
                                            "impedance", "fázového posunu", "činného výkonu", "účiníku"};
    static const char* const kLocative[] = {"čase",     "kmitočtu",       "proudu",        "napětí",
                                            "impedanci", "fázovém posunu", "činném výkonu", "účiníku"};
    return QStringLiteral("Závislost %1 na %2")
        .arg(QString::fromUtf8(kGenitive[::lab::indexOf(y)]), QString::fromUtf8(kLocative[::lab::indexOf(x)]));
}

QString axisTitle(::lab::Quantity q) { return ::lab::nameOf(q) + QLatin1Char(' ') + ::lab::headerOf(q); }

void setLogarithmic(QCPAxis* axis, bool log) {
    if (log) {
        axis->setScaleType(QCPAxis::stLogarithmic);
        axis->setTicker(QSharedPointer<QCPAxisTicker>(new TickerLog125));
        axis->setNumberFormat(QStringLiteral("g"));
    } else {
        axis->setScaleType(QCPAxis::stLinear);
        axis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
        axis->setNumberFormat(QStringLiteral("g"));
    }
}

// The range of the axis over [low, high] with a margin of `below` and `above`
// of the span on either side, or around a single value.
QCPRange paddedRange(double low, double high, bool log, double below = 0.05, double above = 0.05) {
    if (log) {
        if (!(low > 0)) return QCPRange(1, 10);
        if (high <= low) return QCPRange(low / 2, low * 2);
        return QCPRange(low / std::pow(high / low, below), high * std::pow(high / low, above));
    }
    if (high <= low) {
        const double pad = low == 0 ? 1.0 : std::fabs(low) * 0.1;
        return QCPRange(low - pad, high + pad);
    }
    return QCPRange(low - (high - low) * below, high + (high - low) * above);
}

double spanOf(const QCPRange& r, bool log) { return log ? std::log(r.upper / r.lower) : r.size(); }

// The axis's range as the data [low, high] grow: kept while they lie in it
// and fill most of it, so that a new point seldom moves the axes (and then
// only the points are drawn again); when they leave it, their range with
// room on the side they grew to.
QCPRange grownRange(const QCPRange& current, double low, double high, bool log) {
    const QCPRange snug = paddedRange(low, high, log);
    const bool inside = current.contains(low) && current.contains(high) && (!log || current.lower > 0);
    if (inside && spanOf(current, log) <= 1.5 * spanOf(snug, log)) return current;
    const double room = 0.25;
    return paddedRange(low, high, log, low < current.lower ? room : 0.05, high > current.upper ? room : 0.05);
}

const QColor kPointColour(0, 90, 170);
const QColor kFlaggedColour(210, 0, 0);
const QColor kFitColour(200, 30, 30);

// The runs' looks, by their place among the runs: a colour and a mark each
// that differ in grey too (a black-and-white print).
struct Look {
    QColor colour;
    QCPScatterStyle::ScatterShape shape;
};
const Look kLooks[] = {{kPointColour, QCPScatterStyle::ssDisc},
                       {QColor(0, 135, 60), QCPScatterStyle::ssSquare},
                       {QColor(150, 60, 170), QCPScatterStyle::ssTriangle},
                       {QColor(190, 100, 0), QCPScatterStyle::ssDiamond},
                       {QColor(70, 70, 70), QCPScatterStyle::ssCrossSquare},
                       {QColor(0, 140, 160), QCPScatterStyle::ssTriangleInverted}};
constexpr int kLookCount = static_cast<int>(std::size(kLooks));

// A click this near a point (pixels) puts the cursor on it.
constexpr double kCursorReach = 30;

QString valueText(double v, ::lab::Quantity q) { return ::lab::withUnit(::lab::cellText(v, q), ::lab::unitOf(q)); }

}  // namespace

GraphView::GraphView(LabSession& session, QWidget* parent) : QCustomPlot(parent), session_(session) {
    setObjectName(QStringLiteral("graph"));
    setLocale(::lab::czechNumbers());
    setMinimumSize(360, 200);
    plotLayout()->insertRow(0);
    title_ = new QCPTextElement(this, QString(), font());
    plotLayout()->addElement(0, 0, title_);

    flagged_ = addGraph();
    flagged_->setName(QStringLiteral("mimo proložení"));
    flagged_->setLineStyle(QCPGraph::lsNone);
    flagged_->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(kFlaggedColour, 2.0), Qt::NoBrush, 10));
    fitLine_ = addGraph();
    fitLine_->setPen(QPen(QColor(200, 30, 30), 2.0));
    fitLine_->setAdaptiveSampling(false);
    // Two buffers in all: the frame (background, grid, axes) and, above it,
    // the legend's layer, which takes the points and the line too: a new
    // point draws that layer again alone while the axes stay. Each buffer
    // more is a blend of the whole graph at every repaint.
    QCPLayer* points = layer(QStringLiteral("legend"));
    points->setMode(QCPLayer::lmBuffered);
    flagged_->setLayer(points);
    fitLine_->setLayer(points);
    removeLayer(layer(QStringLiteral("overlay")));
    // The points show through the legend where they meet it.
    legend->setBrush(QColor(255, 255, 255, 190));
    legend->setVisible(false);
    axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);

    // Cursor, peaks and the note of a logarithmic axis on the points' layer.
    const auto item = [points](QCPAbstractItem* i) {
        i->setLayer(points);
        i->setVisible(false);
        i->setClipToAxisRect(true);
    };
    cursorMark_ = new QCPItemTracer(this);
    cursorMark_->setStyle(QCPItemTracer::tsCircle);
    cursorMark_->setPen(QPen(Qt::black, 2));
    cursorMark_->setSize(16);
    cursorLabel_ = new QCPItemText(this);
    cursorLabel_->setPadding(QMargins(6, 3, 6, 3));
    cursorLabel_->setBrush(QColor(255, 255, 210, 235));
    cursorLabel_->setPen(QPen(Qt::black));
    cursorLabel_->position->setParentAnchor(cursorMark_->position);
    cursorLabel_->position->setCoords(0, -14);
    cursorLabel_->setPositionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    for (QCPItemTracer** mark : {&maxMark_, &minMark_}) {
        *mark = new QCPItemTracer(this);
        (*mark)->setStyle(QCPItemTracer::tsPlus);
        (*mark)->setPen(QPen(QColor(200, 30, 30), 2.5));
        (*mark)->setSize(22);
        item(*mark);
    }
    note_ = new QCPItemText(this);
    note_->position->setType(QCPItemPosition::ptAxisRectRatio);
    note_->position->setCoords(0.98, 0.03);
    note_->setPositionAlignment(Qt::AlignRight | Qt::AlignTop);
    note_->setColor(kFlaggedColour);
    for (QCPAbstractItem* i : std::initializer_list<QCPAbstractItem*>{cursorMark_, cursorLabel_, note_}) item(i);
    cursorLabel_->setClipToAxisRect(false);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setFocusPolicy(Qt::ClickFocus);

    connect(&session_, &LabSession::pointAdded, this, [this] { appendNewest(); });
    connect(&session_, &LabSession::recordEdited, this, [this] { rebuild(); });
    connect(&session_, &LabSession::graphChanged, this, [this] { rebuild(); });
    // A run hidden or shown, renamed: drawn afresh (a run begun by a point
    // gets its graph with that point).
    connect(&session_, &LabSession::runsChanged, this, [this] {
        for (const ::lab::Run& r : session_.record().runs())
            if (r.points > 0 && r.hidden == (runs_.count(r.id) > 0)) return rebuild();
        updateLegend();
        replot(rpQueuedReplot);
    });
    setTextPixelSize(QFontInfo(font()).pixelSize());
    rebuild();
}

QCPGraph* GraphView::runGraph(int runId) const {
    const auto it = runs_.find(runId);
    return it == runs_.end() ? nullptr : it->second;
}

int GraphView::lookOf(int runId) const {
    const auto& runs = session_.record().runs();
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (runs[i].id == runId) return static_cast<int>(i % kLookCount);
    return 0;
}

QColor GraphView::runColour(int runId) const { return kLooks[lookOf(runId)].colour; }

QCPGraph* GraphView::addRunGraph(int runId) {
    QCPGraph* g = addGraph();
    g->setPen(QPen(runColour(runId), 1.5));
    g->setAdaptiveSampling(true);
    g->removeFromLegend();
    // Under the flagged rings and the line: they go to the end of the layer again.
    QCPLayer* points = flagged_->layer();
    g->setLayer(points);
    std::vector<QCPGraph*> above{flagged_, fitLine_};
    above.insert(above.end(), moreFits_.begin(), moreFits_.end());
    for (QCPGraph* a : above) {
        a->setLayer(layer(QStringLiteral("main")));
        a->setLayer(points);
    }
    runs_[runId] = g;
    return g;
}

void GraphView::setTextPixelSize(int pixels) {
    textPixels_ = pixels;
    QFont text = font();
    text.setPixelSize(pixels);
    QFont title = text;
    title.setPixelSize(pixels * 6 / 5);
    title.setBold(true);
    title_->setFont(title);
    for (QCPAxis* axis : {xAxis, yAxis}) {
        axis->setLabelFont(text);
        axis->setTickLabelFont(text);
        axis->setTickLengthIn(pixels / 3);
        axis->setSubTickLengthIn(pixels / 6);
    }
    legend->setFont(text);
    replot(rpQueuedReplot);
}

void GraphView::applyMarks(bool vector) {
    const std::size_t count = session_.record().size();
    // Dots while they can be told apart.
    const bool connected = shown_.x == ::lab::Quantity::Time || shown_.x == ::lab::Quantity::Frequency;
    const bool dots = !connected || count <= 400;
    // Many points: small squares, lines and squares without smoothing, so that
    // an hour at every block still draws in a few milliseconds.
    const bool many = count > 2000;
    const int disc = connected ? 5 : 6;
    // On the screen a mark is a picture drawn once and copied to each point:
    // drawing thousands of shapes again at every point takes milliseconds.
    for (const auto& [id, g] : runs_) {
        const Look& look = kLooks[lookOf(id)];
        QCPScatterStyle style(QCPScatterStyle::ssNone);
        if (dots && vector)
            style = many             ? QCPScatterStyle(QCPScatterStyle::ssSquare, Qt::NoPen, look.colour, 4)
                    : lookOf(id) == 0 ? QCPScatterStyle(QCPScatterStyle::ssDisc, disc)
                                      : QCPScatterStyle(look.shape, QPen(look.colour, 1.5), look.colour, disc);
        else if (dots)
            style = QCPScatterStyle(markPicture(many ? 0 : disc, lookOf(id)));
        g->setScatterStyle(style);
        g->setAntialiased(!many);
        g->setAntialiasedScatters(!many);
        // At most about 3000 marks: a cloud of more shows no more.
        g->setScatterSkip(many ? static_cast<int>(count / 3000) : 0);
    }
}

QPixmap GraphView::markPicture(int diameter, int look) {
    QPixmap& picture = marks_[{diameter, look}];
    if (picture.isNull()) {
        const QColor colour = kLooks[look].colour;
        if (diameter == 0) {
            // A square of 4 pixels, for a cloud of many points.
            picture = QPixmap(4, 4);
            picture.fill(colour);
            return picture;
        }
        const int side = diameter + (look == 0 ? 3 : 5);
        picture = QPixmap(side, side);
        picture.fill(Qt::transparent);
        if (look == 0) {
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(colour, 1.5));
            painter.setBrush(colour);
            painter.drawEllipse(QPointF(side / 2.0, side / 2.0), diameter / 2.0, diameter / 2.0);
        } else {
            QCPPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            QCPScatterStyle(kLooks[look].shape, QPen(colour, 1.5), colour, diameter + 1)
                .drawShape(&painter, side / 2.0, side / 2.0);
        }
    }
    return picture;
}

bool GraphView::usable(double x, double y) const {
    return std::isfinite(x) && std::isfinite(y) && (!shown_.logX || x > 0) && (!shown_.logY || y > 0);
}

void GraphView::applyChoice() {
    if (!(session_.graph() == shown_)) {
        zoomed_ = false;
        cursor_.reset();
    }
    shown_ = session_.graph();
    xAxis->setLabel(axisTitle(shown_.x));
    yAxis->setLabel(axisTitle(shown_.y));
    setLogarithmic(xAxis, shown_.logX);
    setLogarithmic(yAxis, shown_.logY);
    title_->setText(graphTitle(shown_.y, shown_.x));
    // A line where the points follow one another (time, a sweep's frequency);
    // elsewhere the points alone.
    const bool connected = shown_.x == ::lab::Quantity::Time || shown_.x == ::lab::Quantity::Frequency;
    // Where the curves are fitted, the points alone beside them.
    const bool curves = shown_.fit && !(session_.fitModel() == ::lab::fit::Model::Line && runs_.size() <= 1);
    for (const auto& [id, g] : runs_) g->setLineStyle(connected && !curves ? QCPGraph::lsLine : QCPGraph::lsNone);
}

void GraphView::rebuild() {
    for (const auto& [id, g] : runs_) removeGraph(g);
    runs_.clear();
    const ::lab::PointRecord& record = session_.record();
    for (const ::lab::Run& r : record.runs())
        if (!r.hidden) addRunGraph(r.id);
    applyChoice();
    const std::vector<double>& xs = record.column(shown_.x);
    const std::vector<double>& ys = record.column(shown_.y);
    struct Data {
        QVector<double> keys, values;
    };
    std::map<int, Data> data;
    Data flagged;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (!usable(xs[i], ys[i]) || runGraph(record.runOf(i)) == nullptr) continue;
        Data& d = record.flagged(i) ? flagged : data[record.runOf(i)];
        d.keys.push_back(xs[i]);
        d.values.push_back(ys[i]);
    }
    const bool sorted = shown_.x == ::lab::Quantity::Time;
    for (auto& [id, d] : data) runs_[id]->setData(d.keys, d.values, sorted);
    flagged_->setData(flagged.keys, flagged.values, sorted);
    if (cursor_ && *cursor_ >= record.size()) cursor_.reset();
    updateRanges(true);
    updateFit();
    updateNotes();
    replot(rpQueuedReplot);
}

void GraphView::appendNewest(RefreshPriority priority) {
    const ::lab::PointRecord& record = session_.record();
    if (record.empty()) return;
    const std::size_t last = record.size() - 1;
    const double x = record.value(last, shown_.x);
    const double y = record.value(last, shown_.y);
    const ::lab::Run* run = record.run(record.runOf(last));
    if (run != nullptr && !run->hidden && runGraph(run->id) == nullptr) {
        // The first point of a new run: a graph of its own.
        addRunGraph(run->id);
        applyChoice();
        applyMarks(false);
    }
    if (usable(x, y) && runGraph(record.runOf(last)) != nullptr)
        (record.flagged(last) ? flagged_ : runGraph(record.runOf(last)))->addData(x, y);
    const QCPRange x0 = xAxis->range();
    const QCPRange y0 = yAxis->range();
    if (!usable(x, y) && std::isfinite(x) && std::isfinite(y)) updateNotes();
    updateRanges(false);
    updateFit();
    if (xAxis->range() != x0 || yAxis->range() != y0 || priority != rpQueuedReplot) {
        replot(priority);
        return;
    }
    // The axes as they were: soon only the points' layer (the points, the line
    // and the legend), once for all the points that come before it, and not
    // at all when the whole graph is to be drawn anyway.
    if (pointsQueued_) return;
    pointsQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            pointsQueued_ = false;
            if (mReplotQueued) return;
            flagged_->layer()->replot();
        },
        Qt::QueuedConnection);
}

void GraphView::updateRanges(bool afresh) {
    const ::lab::PointRecord& record = session_.record();
    applyMarks(false);
    // The teacher's zoom stays as points come; a new choice or a double click ends it.
    if (zoomed_ && !afresh) return;
    if (afresh) zoomed_ = false;
    const auto rangeOf = [&](const QCPAxis* axis, ::lab::Quantity q, bool log) {
        const ::lab::PointRecord::Range& r = record.range(q);
        if (r.count == 0) return log ? QCPRange(1, 10) : QCPRange(0, 1);
        double low = log ? r.minPositive : r.min;
        double high = r.max;
        if (shown_.origin && !log) {
            low = std::min(low, 0.0);
            high = std::max(high, 0.0);
        }
        return afresh ? paddedRange(low, high, log) : grownRange(axis->range(), low, high, log);
    };
    xAxis->setRange(rangeOf(xAxis, shown_.x, shown_.logX));
    yAxis->setRange(rangeOf(yAxis, shown_.y, shown_.logY));
}

void GraphView::resetZoom() {
    zoomed_ = false;
    updateRanges(true);
    updateFit();
    replot(rpQueuedReplot);
}

void GraphView::updateNotes() {
    offAxis_ = session_.offLogAxis();
    note_->setVisible(offAxis_ > 0);
    if (offAxis_ > 0) {
        QFont f = font();
        f.setPixelSize(textPixels_);
        note_->setFont(f);
        note_->setText(QStringLiteral("Logaritmická osa nezobrazí %1 (hodnota ≤ 0)")
                           .arg(offAxis_ == 1   ? QStringLiteral("1 bod")
                                : offAxis_ < 5 ? QStringLiteral("%1 body").arg(offAxis_)
                                               : QStringLiteral("%1 bodů").arg(offAxis_)));
    }
}

void GraphView::updateLegend() {
    const std::size_t flagged = static_cast<std::size_t>(flagged_->dataCount());
    legend->clearItems();
    const bool runs = runs_.size() > 1;
    if (runs)
        for (const ::lab::Run& r : session_.record().runs())
            if (QCPGraph* g = runGraph(r.id)) {
                g->setName(::lab::runTitle(r));
                g->addToLegend();
            }
    bool fits = false;
    if (session_.fit() && runs_.size() <= 1) {
        // The line through every point shown, as it always was.
        fitLine_->setName(fitText());
        fitLine_->addToLegend();
        fits = true;
    } else {
        std::size_t curve = 0;
        for (const LabSession::RunFit& f : session_.runFits()) {
            if (!f.result) continue;
            QCPGraph* g = curve == 0 ? fitLine_ : moreFits_[curve - 1];
            ++curve;
            const ::lab::Run* run = session_.record().run(f.run);
            const QStringList parameters = ::lab::fit::parameterTexts(*f.result.fit, shown_.x, shown_.y);
            g->setName((runs && run != nullptr ? ::lab::runTitle(*run) + QStringLiteral(": ") : QString()) +
                       ::lab::fit::modelName(f.result.fit->model) + QStringLiteral(", ") +
                       parameters.mid(0, 2).join(QStringLiteral(", ")));
            g->addToLegend();
            fits = true;
        }
    }
    if (flagged > 0) {
        flagged_->setName(QStringLiteral("mimo proložení (%1)").arg(flagged));
        flagged_->addToLegend();
    }
    legend->setVisible(runs || fits || flagged > 0);
}

void GraphView::updateFit() {
    for (QCPGraph* g : moreFits_) removeGraph(g);
    moreFits_.clear();
    fitLine_->data()->clear();
    fitLine_->setPen(QPen(kFitColour, 2.0));
    const QCPRange x = xAxis->range();
    const auto legacy = session_.fit();
    if (legacy && runs_.size() <= 1) {
        // The line across the axis, in steps that look straight on either scale.
        constexpr int kSteps = 64;
        QVector<double> keys;
        QVector<double> values;
        for (int i = 0; i <= kSteps; ++i) {
            const double share = static_cast<double>(i) / kSteps;
            const double k = shown_.logX ? x.lower * std::pow(x.upper / x.lower, share) : x.lower + (x.upper - x.lower) * share;
            const double v = legacy->slope * k + legacy->intercept;
            if (shown_.logY && !(v > 0)) continue;
            keys.push_back(k);
            values.push_back(v);
        }
        fitLine_->setData(keys, values, true);
    } else {
        bool first = true;
        for (const LabSession::RunFit& f : session_.runFits()) {
            if (!f.result) continue;
            QCPGraph* g = fitLine_;
            if (!first) {
                g = addGraph();
                g->setAdaptiveSampling(false);
                g->setLayer(flagged_->layer());
                g->setPen(QPen(runColour(f.run).darker(120), 2.0, Qt::DashLine));
                moreFits_.push_back(g);
            } else if (runs_.size() > 1) {
                g->setPen(QPen(runColour(f.run).darker(120), 2.0));
            }
            first = false;
            const ::lab::fit::CurveSamples c = ::lab::fit::curveSamples(*f.result.fit, x.lower, x.upper, 240, shown_.logX);
            QVector<double> keys, values;
            for (std::size_t i = 0; i < c.x.size(); ++i) {
                if (!std::isfinite(c.y[i]) || (shown_.logY && !(c.y[i] > 0))) continue;
                keys.push_back(c.x[i]);
                values.push_back(c.y[i]);
            }
            g->setData(keys, values, true);
        }
    }
    updateLegend();
    updatePeaks();
    updateCursor();
}

void GraphView::updatePeaks() {
    using ::lab::fit::Model;
    const bool fitted = shown_.fit && session_.newestFit() != nullptr;
    const Model model = session_.fitModel();
    const bool showMax = shown_.peaks || (fitted && model == Model::Resonance);
    const bool showMin = shown_.peaks || (fitted && model == Model::Impedance);
    // Looked for only when marked: without a fit it is a pass over every point.
    const auto p = showMax || showMin ? session_.peaks() : std::nullopt;
    maxMark_->setVisible(p && showMax);
    minMark_->setVisible(p && showMin);
    if (!p) return;
    maxMark_->position->setCoords(p->maximum.x, p->maximum.y);
    minMark_->position->setCoords(p->minimum.x, p->minimum.y);
}

QString GraphView::peakText() const {
    const auto p = session_.peaks();
    if (!p || !(maxMark_->visible() || minMark_->visible())) return {};
    QStringList texts;
    if (maxMark_->visible()) texts << ::lab::fit::maximumText(*p, shown_.x, shown_.y);
    if (minMark_->visible()) texts << ::lab::fit::minimumText(*p, shown_.x, shown_.y);
    return texts.join(QStringLiteral(", "));
}

// --- the cursor

void GraphView::setCursorRow(std::optional<std::size_t> row) {
    if (row && *row >= session_.record().size()) row.reset();
    cursor_ = row;
    updateCursor();
    replot(rpQueuedReplot);
    if (onCursorMoved) onCursorMoved();
}

void GraphView::updateCursor() {
    const ::lab::PointRecord& record = session_.record();
    const bool on = cursor_ && *cursor_ < record.size() && session_.shown(*cursor_) &&
                    usable(record.value(*cursor_, shown_.x), record.value(*cursor_, shown_.y));
    cursorMark_->setVisible(on);
    cursorLabel_->setVisible(on);
    if (!on) return;
    cursorMark_->position->setCoords(record.value(*cursor_, shown_.x), record.value(*cursor_, shown_.y));
    QFont f = font();
    f.setPixelSize(textPixels_);
    cursorLabel_->setFont(f);
    cursorLabel_->setText(cursorText());
}

QString GraphView::cursorText() const {
    const ::lab::PointRecord& record = session_.record();
    if (!cursor_ || *cursor_ >= record.size()) return {};
    const std::size_t row = *cursor_;
    QString text = QStringLiteral("%1 = %2; %3 = %4")
                       .arg(::lab::symbolOf(shown_.x), valueText(record.value(row, shown_.x), shown_.x),
                            ::lab::symbolOf(shown_.y), valueText(record.value(row, shown_.y), shown_.y));
    if (runs_.size() > 1)
        if (const ::lab::Run* run = record.run(record.runOf(row))) text += QStringLiteral(" (%1)").arg(::lab::runTitle(*run));
    return text;
}

void GraphView::moveCursor(int steps) {
    const ::lab::PointRecord& record = session_.record();
    if (record.empty()) return;
    // Along x among the points of the cursor's run that are drawn.
    const int run = cursor_ ? record.runOf(*cursor_) : record.runOf(record.size() - 1);
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < record.size(); ++i)
        if (record.runOf(i) == run && session_.shown(i) && usable(record.value(i, shown_.x), record.value(i, shown_.y)))
            rows.push_back(i);
    if (rows.empty()) return;
    std::stable_sort(rows.begin(), rows.end(), [&](std::size_t a, std::size_t b) {
        return record.value(a, shown_.x) < record.value(b, shown_.x);
    });
    auto at = cursor_ ? std::find(rows.begin(), rows.end(), *cursor_) : rows.end();
    std::ptrdiff_t index = at == rows.end() ? (steps > 0 ? -1 : static_cast<std::ptrdiff_t>(rows.size()))
                                            : at - rows.begin();
    index = std::clamp<std::ptrdiff_t>(index + steps, 0, static_cast<std::ptrdiff_t>(rows.size()) - 1);
    setCursorRow(rows[static_cast<std::size_t>(index)]);
}

void GraphView::mousePressEvent(QMouseEvent* event) {
    pressedAt_ = event->pos();
    QCustomPlot::mousePressEvent(event);
}

void GraphView::mouseReleaseEvent(QMouseEvent* event) {
    const bool dragged = (event->pos() - pressedAt_).manhattanLength() > 4;
    QCustomPlot::mouseReleaseEvent(event);
    if (dragged) {
        zoomed_ = true;
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    // The nearest point drawn, when near enough.
    const ::lab::PointRecord& record = session_.record();
    std::optional<std::size_t> best;
    double bestDistance = kCursorReach;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const double x = record.value(i, shown_.x);
        const double y = record.value(i, shown_.y);
        if (!session_.shown(i) || !usable(x, y)) continue;
        const QPointF at(xAxis->coordToPixel(x), yAxis->coordToPixel(y));
        const double d = std::hypot(at.x() - event->position().x(), at.y() - event->position().y());
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    setCursorRow(best);
}

void GraphView::mouseDoubleClickEvent(QMouseEvent* event) {
    QCustomPlot::mouseDoubleClickEvent(event);
    resetZoom();
}

void GraphView::wheelEvent(QWheelEvent* event) {
    QCustomPlot::wheelEvent(event);
    zoomed_ = true;
    updateFit();
}

void GraphView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left: moveCursor(-1); return;
        case Qt::Key_Right: moveCursor(1); return;
        case Qt::Key_Home: moveCursor(-1000000); return;
        case Qt::Key_End: moveCursor(1000000); return;
        case Qt::Key_Escape:
            if (cursor_) {
                setCursorRow(std::nullopt);
                return;
            }
            break;
        default: break;
    }
    QCustomPlot::keyPressEvent(event);
}

QString GraphView::fitText() const {
    if (session_.fit() && runs_.size() <= 1) {
        const auto fit = session_.fit();
        const QString slopeUnit = ::lab::ratioUnit(shown_.y, shown_.x);
        const QString yUnit = ::lab::unitOf(shown_.y);
        auto withUnit = [](const QString& number, const QString& unit) {
            return unit.isEmpty() ? number : number + QChar(0x00A0) + unit;
        };
        return QStringLiteral("přímka: směrnice %1, úsek %2, R² = %3")
            .arg(withUnit(::lab::czechNumbers().toString(fit->slope, 'g', 5), slopeUnit),
                 withUnit(::lab::czechNumbers().toString(fit->intercept, 'g', 4), yUnit), ::lab::czechNumbers().toString(fit->r2, 'f', 5));
    }
    QStringList lines;
    const bool several = session_.runFits().size() > 1;
    for (const LabSession::RunFit& f : session_.runFits()) {
        if (!f.result) continue;
        const ::lab::Run* run = session_.record().run(f.run);
        lines << (several && run != nullptr ? ::lab::runTitle(*run) + QStringLiteral(": ") : QString()) +
                     ::lab::fit::statementOf(*f.result.fit, shown_.x, shown_.y);
    }
    if (lines.isEmpty()) return session_.fitProblem();
    return lines.join(QLatin1Char('\n'));
}

void GraphView::paintTo(QCPPainter& painter) {
    applyMarks(true);
    toPainter(&painter, kExportWidth, kExportHeight);
    applyMarks(false);
}

QString GraphView::title() const { return title_->text(); }

platform::files::WriteOutcome GraphView::save(const QString& path) {
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        return platform::files::writeWholeFile(path, [this](QIODevice& device) {
            QSvgGenerator svg;
            svg.setOutputDevice(&device);
            svg.setSize(QSize(kExportWidth, kExportHeight));
            svg.setViewBox(QRect(0, 0, kExportWidth, kExportHeight));
            svg.setTitle(title_->text());
            QCPPainter painter;
            if (!painter.begin(&svg)) return false;
            applyMarks(true);  // circles rather than pictures of them
            toPainter(&painter, kExportWidth, kExportHeight);
            applyMarks(false);
            return painter.end();
        });
    }
    const QPixmap picture = toPixmap(kExportWidth, kExportHeight);
    return platform::files::writeWholeFile(path, [&picture](QIODevice& device) { return picture.save(&device, "PNG"); });
}

}  // namespace app::lab
