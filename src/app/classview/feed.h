#pragma once
// Feed: what the class view serves, read from the program's measurements.
// The server knows nothing else of the program: whatever owns the readings
// (the session) implements this and emits the two signals; the server reads
// the functions on the UI thread, when it builds a message or answers a
// request, and never keeps a reference into what they return.
#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>

namespace lab {
struct CsvDialect;
}

namespace app::classview {

// A change of the lab's record, as the pages apply it to their table and graph.
struct RecordChange {
    enum class Kind { Added, Removed, Cleared };
    Kind kind = Kind::Added;
    qsizetype row = 0;  // Added: the new point's row; Removed: the row that went
    QJsonArray values;  // Added: the point as a row of recordRows()
};

class Feed : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // What every live message carries besides its time `t`:
    //   "circuit":  the --state circuit keys (CurrentMilliamps, VoltageMillivolts,
    //               FrequencyHz, PhaseDegrees, ImpedanceOhms, PowerMilliwatts,
    //               PowerFactor, ...), null for a value not known;
    //   "readouts": the readout texts the window shows now, by control name
    //               ({"Panel3": "123 mA", "Panel2": "3.28 V", ...});
    //   "lab":      Points (count), Last (the newest point by the circuit keys),
    //               Fit (Slope, Intercept, R2, SlopeUnit, or null), Runs (an array:
    //               {"Run": n, "Name": text} for each run of the record), Graph
    //               (Y, X: quantity keys; LogX, LogY, Fit: booleans).
    virtual QJsonObject live() const = 0;
    // What --state writes, less anything that names a file.
    virtual QJsonObject state() const = 0;
    // The lab's record as the lab exports it.
    virtual QByteArray recordCsv(const ::lab::CsvDialect& dialect) const = 0;
    // Every point of the record, oldest first: each an array of its values in
    // the order of lab::kQuantities (null for a value not known), then the
    // number of its run.
    virtual QJsonArray recordRows() const = 0;

signals:
    // A recorded block was measured: live() has new values.
    void blockMeasured();
    // The record changed; recordRows() already holds the change.
    void recordChanged(const app::classview::RecordChange& change);
};

}  // namespace app::classview
