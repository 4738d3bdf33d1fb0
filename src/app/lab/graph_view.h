#pragma once
// The lab's graph: the chosen quantity against time or against another, on
// linear or logarithmic axes scaled to the data, growing with every point,
// with the fitted line and its equation in the legend when asked. Drawn by
// QCustomPlot; saved as PNG or SVG at a fixed size (kExportSize).
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

    // "směrnice 100,2 Ω, úsek 0,31 mV, R² = 0,99998", or "" without a fit.
    QString fitText() const;

private:
    void applyChoice();
    // The axes' ranges: for all the points afresh, or grown for a new one.
    void updateRanges(bool afresh);
    void updateFit();
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
    QCPGraph* points_ = nullptr;
    QCPGraph* fitLine_ = nullptr;
    QCPTextElement* title_ = nullptr;
};

}  // namespace app::lab
