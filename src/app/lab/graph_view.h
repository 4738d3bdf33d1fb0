#pragma once
// The lab's graph: the chosen quantity against time or against another, on
// linear or logarithmic axes scaled to the data (a logarithmic axis numbered
// 1, 2, 5 in each decade), growing with every point, with the fitted curve of
// each run and its equation in the legend when asked. Each run shown is a
// graph of its own (runGraph) in a colour and a mark of its own; flagged
// points (clipped or unsettled) are drawn apart as hollow red rings and never
// fitted. The teacher reads a point off it with the cursor (a click, or the
// arrow keys), zooms with the wheel and pans by dragging (a double click puts
// the axes back), and may have the maximum and the minimum marked. Drawn by
// QCustomPlot; saved as PNG or SVG at a fixed size (kExportWidth × kExportHeight).
#include "lab/graph_choice.h"
#include "platform/files/write_outcome.h"

#include <qcustomplot.h>

#include <functional>
#include <map>
#include <optional>

namespace app::lab {

class LabSession;

class GraphView : public QCustomPlot {
public:
    static constexpr int kExportWidth = 1000;
    static constexpr int kExportHeight = 650;

    GraphView(LabSession& session, QWidget* parent);

    // Draws all the points again (the choice changed, the record was cleared).
    void rebuild();
    // Adds the newest point of the record and redraws (soon, or now).
    void appendNewest(RefreshPriority priority = rpQueuedReplot);

    // PNG or SVG by the name's ending (anything else: PNG), through the file guard.
    platform::files::WriteOutcome save(const QString& path);
    // The graph as vectors, kExportWidth × kExportHeight of the painter's units.
    void paintTo(QCPPainter& painter);
    QString title() const;

    // The point under the cursor (a row of the record), moved by a click near
    // a point or by the arrow keys; what it reads, "" without one.
    std::optional<std::size_t> cursorRow() const { return cursor_; }
    void setCursorRow(std::optional<std::size_t> row);
    // The next or previous point of the cursor's run along x.
    void moveCursor(int steps);
    QString cursorText() const;
    std::function<void()> onCursorMoved;
    // The axes as the teacher zoomed or dragged them (kept as points come),
    // until a double click or a new choice of the graph.
    bool zoomed() const { return zoomed_; }
    void resetZoom();
    // "maximum 177,4 mA při 159,2 Hz, minimum …" when marked, else "".
    QString peakText() const;
    // Points that a logarithmic axis cannot show (a value ≤ 0).
    std::size_t offAxis() const { return offAxis_; }

    // "směrnice 100,2 Ω, úsek 0,31 mV, R² = 0,99998"; "Nelze proložit: …"
    // when the points make no line; "" without a fit.
    QString fitText() const;

    // The size of every text of the graph: title, axes' titles, tick numbers, legend.
    void setTextPixelSize(int pixels);
    int textPixelSize() const { return textPixels_; }

    // The graph of a run shown (nullptr for a hidden or unknown run), and the
    // flagged points' graph.
    QCPGraph* runGraph(int runId) const;
    QCPGraph* flaggedGraph() const { return flagged_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyChoice();
    void updateCursor();
    void updatePeaks();
    void updateNotes();
    QColor runColour(int runId) const;
    // The axes' ranges: for all the points afresh, or grown for a new one.
    void updateRanges(bool afresh);
    void updateFit();
    void updateLegend();
    QCPGraph* addRunGraph(int runId);
    // The marks of the points for their number: drawn on the screen, or as
    // shapes for a vector picture.
    void applyMarks(bool vector);
    // The mark of the run's look (its place among the runs): a disc of this
    // diameter for the first, other shapes for the others; for 0 the small
    // square of many points.
    QPixmap markPicture(int diameter, int look);
    int lookOf(int runId) const;
    bool usable(double x, double y) const;

    LabSession& session_;
    ::lab::GraphChoice shown_;
    bool pointsQueued_ = false;
    std::map<std::pair<int, int>, QPixmap> marks_;
    std::map<int, QCPGraph*> runs_;  // by run id, the runs shown
    QCPGraph* flagged_ = nullptr;
    int textPixels_ = 0;
    QCPGraph* fitLine_ = nullptr;
    std::vector<QCPGraph*> moreFits_;  // the fits of the second run on
    QCPTextElement* title_ = nullptr;
    std::optional<std::size_t> cursor_;
    QCPItemTracer* cursorMark_ = nullptr;
    QCPItemText* cursorLabel_ = nullptr;
    QCPItemTracer* maxMark_ = nullptr;
    QCPItemTracer* minMark_ = nullptr;
    QCPItemText* note_ = nullptr;  // what a logarithmic axis leaves out
    std::size_t offAxis_ = 0;
    bool zoomed_ = false;
    QPoint pressedAt_;
};

}  // namespace app::lab
