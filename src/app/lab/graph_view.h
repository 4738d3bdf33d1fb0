#pragma once
// The lab's graph: the chosen quantity against time or against another, on
// linear or logarithmic axes scaled to the data (a logarithmic axis numbered
// 1, 2, 5 in each decade), growing with every point, with the fitted line and
// its equation in the legend when asked. Each run shown is a graph of its own
// (runGraph); flagged points (clipped or unsettled) are drawn apart as hollow
// red rings and never fitted. Drawn by QCustomPlot; saved as PNG or SVG at a
// fixed size (kExportWidth × kExportHeight).
#include "lab/graph_choice.h"
#include "platform/files/write_outcome.h"

#include <qcustomplot.h>

#include <map>

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

private:
    void applyChoice();
    // The axes' ranges: for all the points afresh, or grown for a new one.
    void updateRanges(bool afresh);
    void updateFit();
    void updateLegend();
    QCPGraph* addRunGraph(int runId);
    // The marks of the points for their number: drawn on the screen, or as
    // shapes for a vector picture.
    void applyMarks(bool vector);
    // A disc of this diameter, or for 0 the small square of many points.
    QPixmap markPicture(int diameter);
    bool usable(double x, double y) const;

    LabSession& session_;
    ::lab::GraphChoice shown_;
    bool pointsQueued_ = false;
    std::map<int, QPixmap> marks_;
    std::map<int, QCPGraph*> runs_;  // by run id, the runs shown
    QCPGraph* flagged_ = nullptr;
    int textPixels_ = 0;
    QCPGraph* fitLine_ = nullptr;
    QCPTextElement* title_ = nullptr;
};

}  // namespace app::lab
