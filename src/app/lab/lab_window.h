#pragma once
// The lab window ("Měření a grafy"), beside the main window: the live values,
// the waveforms (freeze and continue), the record (start, stop, clear, a
// point at every block or at an interval, "Zapsat bod"), the graph with its
// fit, the frequency sweep with its progress, the table of points, and the
// export of the table (CSV) and of the graph (PNG, SVG). F11: full screen.
//
// Widgets by object name: liveValues, waveforms, freeze, graph, graphY,
// graphX, logX, logY, fit, fitText, record, interval, point, clear, sweepFrom,
// sweepTo, sweepSteps, sweepScale, sweepStart, sweepCancel, sweepProgress,
// exportCsv, exportGraph, pointTable, message.
#include "lab/csv_dialect.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;

namespace app::lab {

class GraphView;
class LabSession;
class LiveValues;
class PointTableModel;
class WaveformView;

class LabWindow : public QWidget {
public:
    // A window of its own, owned by `parent` (the main window).
    LabWindow(LabSession& session, QWidget* parent);

    // Shows the live values and the waveforms now (a timer does it 5 times a second).
    void refresh();

    // The table as CSV in `dialect`, and the graph as PNG or SVG: "" or what
    // went wrong (in Czech; the window shows it in a message box).
    QString exportCsv(const QString& path, const ::lab::CsvDialect& dialect);
    QString exportGraph(const QString& path);

    GraphView& graph() { return *graph_; }
    WaveformView& waveforms() { return *waveforms_; }

    void toggleFullScreen();

private:
    QWidget* buildRecordBox();
    QWidget* buildSweepBox();
    QWidget* buildGraphBox();
    void chooseGraph();
    void showChoice();
    void showRecording();
    void showSweep();
    void startSweep();
    void askCsv();
    void askGraph();
    void tell(const QString& text, bool problem);

    LabSession& session_;
    LiveValues* live_ = nullptr;
    WaveformView* waveforms_ = nullptr;
    GraphView* graph_ = nullptr;
    PointTableModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QPushButton* freeze_ = nullptr;
    QComboBox* graphY_ = nullptr;
    QComboBox* graphX_ = nullptr;
    QCheckBox* logX_ = nullptr;
    QCheckBox* logY_ = nullptr;
    QCheckBox* fit_ = nullptr;
    QLabel* fitText_ = nullptr;
    QPushButton* record_ = nullptr;
    QDoubleSpinBox* interval_ = nullptr;
    QPushButton* point_ = nullptr;
    QSpinBox* sweepFrom_ = nullptr;
    QSpinBox* sweepTo_ = nullptr;
    QSpinBox* sweepSteps_ = nullptr;
    QComboBox* sweepScale_ = nullptr;
    QPushButton* sweepStart_ = nullptr;
    QPushButton* sweepCancel_ = nullptr;
    QProgressBar* sweepProgress_ = nullptr;
    QLabel* message_ = nullptr;
    QTimer timer_;
};

}  // namespace app::lab
