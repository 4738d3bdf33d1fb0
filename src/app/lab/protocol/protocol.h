#pragma once
// The laboratory protocol of the lab's record: an A4 page or two in Czech
// with the title, the date and time, the card and whether it is calibrated,
// the circuit (the bench's, or a line to fill in), lines for the student's
// name and class, the graph as vectors, each run's fit with its equation,
// parameters and uncertainties, the marked peak, and the table of points by
// run. The same pages go to a PDF file (fonts embedded) or to a printer.
#include "platform/files/write_outcome.h"

#include <QDateTime>
#include <QString>

class QPagedPaintDevice;

namespace app::lab {

class LabSession;
class GraphView;

struct ProtocolFacts {
    QString card;      // as the teacher knows it
    bool calibrated = false;
    QString circuit;   // "R = 10 Ω, L = 100 mH, C = 10 µF"; empty: not known (a line to fill in)
    QDateTime when;
};

// What the session knows of the card, its calibration and the bench's circuit, now.
ProtocolFacts protocolFacts(const LabSession& session);

// Paints the pages on an A4 device that has begun no page yet; false when
// the device cannot be painted on.
bool paintProtocol(QPagedPaintDevice& device, const LabSession& session, GraphView& graph, const ProtocolFacts& facts);

// The protocol as a PDF file, through the file guard.
platform::files::WriteOutcome writeProtocolPdf(const QString& path, const LabSession& session, GraphView& graph,
                                               const ProtocolFacts& facts);

}  // namespace app::lab
