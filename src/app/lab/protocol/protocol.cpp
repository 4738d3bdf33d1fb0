#include "app/lab/protocol/protocol.h"

#include "app/lab/graph_view.h"
#include "app/lab/lab_session.h"
#include "app/session/session.h"
#include "bench/bench_driver.h"
#include "lab/fit/statement.h"
#include "lab/quantity.h"
#include "lab/record/flagged_points.h"
#include "platform/files/whole_file.h"

#include <QJsonObject>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

namespace app::lab {
namespace {


QString number(double v) { return ::lab::czechNumbers().toString(v, 'g', 4); }

QString circuitText(const bench::BenchDriver& bench) {
    const bench::BenchConfig& c = bench.config();
    if (!c.circuit) return QStringLiteral("rezistor R = %1 Ω").arg(number(c.loadOhms));
    QStringList parts{QStringLiteral("R = %1 Ω").arg(number(c.circuit->ohms))};
    if (c.circuit->henries) parts << QStringLiteral("L = %1 mH").arg(number(*c.circuit->henries * 1e3));
    if (c.circuit->farads) parts << QStringLiteral("C = %1 µF").arg(number(*c.circuit->farads * 1e6));
    return QStringLiteral("sériový obvod ") + parts.join(QStringLiteral(", "));
}

// Lays out text from the top of a page down, a new page when one is full.
class Pages {
public:
    Pages(QPagedPaintDevice& device, QPainter& painter) : device_(device), painter_(painter) {
        const QRect page = device.pageLayout().paintRectPixels(device.logicalDpiX());
        area_ = QRectF(0, 0, page.width(), page.height());
        y_ = 0;
    }
    double mm(double millimetres) const { return millimetres * device_.logicalDpiX() / 25.4; }
    double width() const { return area_.width(); }
    double left() const { return area_.bottom() - y_; }
    double y() const { return y_; }
    int page() const { return page_; }
    void skip(double millimetres) { y_ += mm(millimetres); }
    bool newPage() {
        if (!device_.newPage()) return false;
        ++page_;
        y_ = 0;
        return true;
    }
    // Text in this font, wrapped across the page's width.
    void text(const QString& text, const QFont& font, double indentMm = 0) {
        painter_.setFont(font);
        const QRectF room(mm(indentMm), y_, width() - mm(indentMm), area_.height());
        const QRectF used = painter_.boundingRect(room, Qt::TextWordWrap, text);
        painter_.drawText(room, Qt::TextWordWrap, text);
        y_ += used.height();
    }
    void setY(double y) { y_ = y; }

private:
    QPagedPaintDevice& device_;
    QPainter& painter_;
    QRectF area_;
    double y_ = 0;
    int page_ = 1;
};

QFont font(double points, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QString cell(const ::lab::PointRecord& record, std::size_t row, ::lab::Quantity q) {
    return ::lab::cellText(record.value(row, q), q);
}

void paintFits(Pages& pages, const LabSession& session) {
    const ::lab::GraphChoice& g = session.graph();
    const ::lab::PointRecord& record = session.record();
    if (g.fit) {
        const bool several = session.runFits().size() > 1;
        for (const LabSession::RunFit& f : session.runFits()) {
            const ::lab::Run* run = record.run(f.run);
            const QString who = several && run != nullptr ? ::lab::runTitle(*run) + QStringLiteral(": ") : QString();
            if (!f.result) {
                pages.text(who + f.result.failure, font(10));
                continue;
            }
            const ::lab::fit::Fit& fit = *f.result.fit;
            pages.text(who + ::lab::fit::modelName(fit.model) + QStringLiteral(", ") +
                           ::lab::fit::equationOf(fit.model, g.x, g.y),
                       font(10, true));
            pages.text(::lab::fit::parameterTexts(fit, g.x, g.y).join(QStringLiteral(";   ")), font(10), 5);
            pages.text(::lab::fit::goodnessText(fit, g.y) + QStringLiteral(" (%1 bodů)").arg(fit.points), font(10), 5);
        }
        if (const QString problem = session.axesProblem(); !problem.isEmpty()) pages.text(problem, font(10));
        pages.text(QStringLiteral("Nejistoty jsou standardní (1σ), odhadnuté z rozptylu bodů kolem křivky."), font(8));
    }
    if (const auto p = session.peaks(); p && g.x != ::lab::Quantity::Time)
        pages.text(::lab::fit::maximumText(*p, g.x, g.y) + QStringLiteral(", ") + ::lab::fit::minimumText(*p, g.x, g.y),
                   font(10));
}

// The table by run, as long as two pages hold it; the rest is in the CSV.
void paintTable(Pages& pages, QPainter& painter, const LabSession& session) {
    const ::lab::PointRecord& record = session.record();
    if (record.empty()) return;
    const QFont head = font(7.5, true);
    const QFont body = font(7.5);
    const double rowHeight = pages.mm(4.2);
    const int columns = static_cast<int>(::lab::kQuantities.size()) + 1;
    const double runWidth = pages.mm(22);
    const double width = (pages.width() - runWidth) / (columns - 1);
    auto paintRow = [&](const QStringList& cells, const QFont& f) {
        painter.setFont(f);
        double x = 0;
        for (int c = 0; c < cells.size(); ++c) {
            const double w = c == 0 ? runWidth : width;
            painter.drawText(QRectF(x, pages.y(), w - pages.mm(1), rowHeight),
                             (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, cells[c]);
            x += w;
        }
        pages.setY(pages.y() + rowHeight);
    };
    QStringList header{QStringLiteral("běh")};
    for (const ::lab::Quantity q : ::lab::kQuantities) header << ::lab::headerOf(q);
    pages.skip(3);
    pages.text(QStringLiteral("Naměřené body"), font(11, true));
    paintRow(header, head);
    std::size_t row = 0;
    for (const ::lab::Run& run : record.runs())
        for (std::size_t i = 0; i < record.size(); ++i) {
            if (record.runOf(i) != run.id) continue;
            if (pages.left() < 2 * rowHeight) {
                if (pages.page() >= 2 || !pages.newPage()) {
                    pages.text(QStringLiteral("… a dalších %1 bodů: celá tabulka je v souboru CSV.")
                                   .arg(record.size() - row),
                               font(8));
                    return;
                }
                paintRow(header, head);
            }
            QStringList cells{::lab::runTitle(run) + (record.flagged(i) ? QStringLiteral(" *") : QString())};
            for (const ::lab::Quantity q : ::lab::kQuantities) cells << cell(record, i, q);
            paintRow(cells, body);
            ++row;
        }
    if (::lab::flaggedPoints(record).count() > 0)
        pages.text(QStringLiteral("* přebuzený nebo neustálený bod: do grafu kreslen zvlášť, neproložen"), font(7.5));
}

}  // namespace

ProtocolFacts protocolFacts(const LabSession& lab) {
    const session::Session& session = lab.session();
    ProtocolFacts facts;
    facts.when = QDateTime::currentDateTime();
    const QJsonObject state = session.stateJson();
    const QJsonObject calibration = state.value(QStringLiteral("calibration")).toObject();
    facts.card = calibration.value(QStringLiteral("Key")).toString();
    facts.calibrated = calibration.value(QStringLiteral("Active")).toBool();
    if (const bench::BenchDriver* bench = session.bench()) {
        facts.card = QStringLiteral("virtuální měřicí stůl");
        facts.circuit = circuitText(*bench);
    }
    return facts;
}

bool paintProtocol(QPagedPaintDevice& device, const LabSession& session, GraphView& graph, const ProtocolFacts& facts) {
    QCPPainter painter;  // the graph paints on it as on its own
    if (!painter.begin(&device)) return false;
    Pages pages(device, painter);
    pages.text(QStringLiteral("Laboratorní protokol"), font(18, true));
    pages.text(graph.title(), font(13));
    pages.skip(2);
    const QString date = ::lab::czechNumbers().toString(facts.when, QStringLiteral("d. M. yyyy H:mm"));
    pages.text(QStringLiteral("Datum a čas: %1").arg(date), font(10));
    pages.text(QStringLiteral("Zvuková karta: %1, %2")
                   .arg(facts.card.isEmpty() ? QStringLiteral("neznámá") : facts.card,
                        facts.calibrated ? QStringLiteral("kalibrovaná") : QStringLiteral("nekalibrovaná")),
               font(10));
    pages.text(QStringLiteral("Obvod: %1").arg(facts.circuit.isEmpty() ? QStringLiteral("……………………………………………………")
                                                                       : facts.circuit),
               font(10));
    pages.skip(3);
    pages.text(QStringLiteral("Jméno: ……………………………………………        Třída: ……………        Podpis: ……………………"), font(10));
    pages.skip(4);

    // The graph as vectors, 1000 × 650 of its own units scaled to the page's width.
    const double w = pages.width();
    const double h = w * GraphView::kExportHeight / GraphView::kExportWidth;
    painter.save();
    painter.translate(0, pages.y());
    painter.scale(w / GraphView::kExportWidth, h / GraphView::kExportHeight);
    // Its texts at about 8 points on the page, whatever the window's size is.
    const int screenText = graph.textPixelSize();
    graph.setTextPixelSize(16);
    graph.paintTo(painter);
    graph.setTextPixelSize(screenText);
    painter.restore();
    pages.setY(pages.y() + h);
    pages.skip(3);
    paintFits(pages, session);
    paintTable(pages, painter, session);
    return painter.end();
}

platform::files::WriteOutcome writeProtocolPdf(const QString& path, const LabSession& session, GraphView& graph,
                                               const ProtocolFacts& facts) {
    return platform::files::writeWholeFile(path, [&](QIODevice& device) {
        QPdfWriter pdf(&device);
        pdf.setTitle(QStringLiteral("Laboratorní protokol"));
        pdf.setCreator(QStringLiteral("Učitelské přístroje"));
        pdf.setResolution(600);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 15, 18, 15),
                                      QPageLayout::Millimeter));
        return paintProtocol(pdf, session, graph, facts);
    });
}

}  // namespace app::lab
