#pragma once
// The lab window ("Měření a grafy"): the live values (with the overload note)
// across the top; below them the settings (the generator, the record, the
// sweep), the message line, the table of points with its editing (delete,
// undo, redo, "Smazat všechny body…", CSV), the waveforms (freeze and
// continue) and the graph with its fit and its flagged points.
//
// Two layouts of the same widgets: at the desk (beside the main window, the
// table under the settings, the waveforms over the graph) and on a projector
// (F9, or --fullscreen --lab: every text at least 20 px on the screen, the
// values twice that, the settings in tabs, the graph, the waveforms and the
// table in tabs of their own). Ctrl + and Ctrl − zoom every text, Ctrl+0 back (kept for the run).
// F11 asks the window manager for full screen, F11 or Esc leaves it.
//
// Widgets by object name: liveValues, overloadNote, controls, amplitude,
// frequency, generatorNote, record, interval, point, newRun, runNow,
// sweepFrom, sweepTo, sweepSteps, sweepScale, sweepStart, sweepCancel,
// sweepProgress, sweepPlan, message, pointTable, deletePoints, undo, redo,
// clear, exportCsv, waveforms, freeze, graph, graphY, graphX, logX, logY, fit,
// fitText, flaggedText, exportGraph, projector, views (the projector's tabs).
#include "lab/csv_dialect.h"

#include <QTimer>
#include <array>
#include <functional>
#include <vector>
#include <QWidget>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QMessageBox;
class QProgressBar;
class QPushButton;
class QShortcut;
class QSpinBox;
class QTabWidget;
class QTableView;

namespace app::lab {

class GeneratorPanel;
class GraphView;
class LabSession;
class LiveValues;
class PointTableModel;
class WaveformView;

class LabWindow : public QWidget {
public:
    enum class Layout { Desk, Projector };
    // Text on a projector: every text at least this many pixels on the screen,
    // the live values kValueScale times as large.
    static constexpr int kProjectorTextPixels = 22;
    static constexpr double kValueScale = 2.6;
    static constexpr double kSmallestZoom = 0.7;
    static constexpr double kLargestZoom = 1.6;
    // How long the window manager may take to frame a new window (ms).
    static constexpr int kFrameWait = 400;

    // A window of its own, owned by `parent` (the main window).
    LabWindow(LabSession& session, QWidget* parent);

    // Shows the live values and the waveforms now (a timer does it 5 times a second).
    void refresh();

    // The table as CSV in `dialect`, and the graph as PNG or SVG: "" or what
    // went wrong (in Czech; the window shows it in a message box).
    QString exportCsv(const QString& path, const ::lab::CsvDialect& dialect);
    QString exportGraph(const QString& path);

    GraphView& graph() { return *graph_; }
    // Shows "Třída…", which opens the class view's window.
    void setClassViewOpener(std::function<void()> open);
    WaveformView& waveforms() { return *waveforms_; }

    // --- layout
    void arrange(Layout layout);
    Layout arrangement() const { return layout_; }
    // Ctrl + (1), Ctrl − (−1): every text 10 % larger or smaller; 0 back to 100 %.
    void zoomBy(int steps);
    double zoom() const { return zoom_; }
    // The size of the window's text now, in the window's pixels.
    int textPixels() const;
    // Beside `mainWindow` on its screen when both fit there whole, sized to
    // what the screen has left; false when they do not (then the lab is to be
    // shown maximised, over the screen's room as the window manager knows it).
    bool placeBeside(const QWidget& mainWindow);
    // Whole on its screen, frame and all (moved in, made smaller where it must).
    void fitOnScreen();
    void toggleFullScreen();

    // --- editing the record
    // Deletes the table's selected rows (Delete, the table's menu).
    void deleteSelected();
    void undo();
    void redo();
    // "Smazat všechny body…": asks first while the points are not saved
    // (a question of its own, which the window does not wait for).
    void askClear();

private:
    // lab_window.cpp: the panels
    QWidget* buildGeneratorBox();
    QWidget* buildRecordBox();
    QWidget* buildSweepBox();
    QWidget* buildTablePanel();
    QWidget* buildWaveformPanel();
    QWidget* buildGraphPanel();
    void connectSession();
    void chooseGraph();
    void showChoice();
    void showRecording();
    void showSweep();
    void showSweepPlan();
    void showEdits();
    void showFlagged();
    void showOverload();
    void startSweep();
    void askCsv();
    void askGraph();
    // The fit's curve, the peaks, the origin, the protocol (lab_window_analysis.cpp).
    // Rows of their own: the fit and its curve; the peaks, the origin and the protocol.
    QBoxLayout* buildAnalysisControls();
    void showAnalysis();
    void askProtocol();
    void printProtocol();
    void tell(const QString& text, bool problem);
    void clearNow();
    // A key that reaches a setting on a tab not shown: shows the tab, then acts.
    void reach(QWidget* page, QKeySequence keys, std::function<void()> act);
    void reachSettings();
    // A line under the graph: shown with its text, hidden without.
    void setLine(QLabel* line, const QString& text);
    // lab_layout.cpp: the two layouts, the text sizes, full screen
    void applyTextSizes();

    LabSession& session_;
    Layout layout_ = Layout::Desk;
    double zoom_ = 1.0;
    QRect normalPlace_;  // where the window was before full screen
    bool wasMaximized_ = false;
    QWidget* body_ = nullptr;

    LiveValues* live_ = nullptr;
    QTabWidget* controls_ = nullptr;
    // The generator's, the record's and the sweep's settings: boxes one
    // above another at the desk, tabs of `controls_` on a projector.
    std::array<QWidget*, 3> settings_{};
    std::vector<std::pair<QWidget*, QShortcut*>> reaching_;
    QWidget* tablePanel_ = nullptr;
    QWidget* waveformPanel_ = nullptr;
    QWidget* graphPanel_ = nullptr;
    QWidget* graphChoice_ = nullptr;
    GeneratorPanel* generator_ = nullptr;
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
    QComboBox* fitModel_ = nullptr;
    QCheckBox* peaks_ = nullptr;
    QCheckBox* origin_ = nullptr;
    QPushButton* protocol_ = nullptr;
    QPushButton* classView_ = nullptr;
    QLabel* peakText_ = nullptr;
    QLabel* cursorText_ = nullptr;
    QLabel* flaggedText_ = nullptr;
    QPushButton* record_ = nullptr;
    QDoubleSpinBox* interval_ = nullptr;
    QPushButton* point_ = nullptr;
    QLabel* runNow_ = nullptr;
    QSpinBox* sweepFrom_ = nullptr;
    QSpinBox* sweepTo_ = nullptr;
    QSpinBox* sweepSteps_ = nullptr;
    QComboBox* sweepScale_ = nullptr;
    QPushButton* sweepStart_ = nullptr;
    QPushButton* sweepCancel_ = nullptr;
    QProgressBar* sweepProgress_ = nullptr;
    QLabel* sweepPlan_ = nullptr;
    QPushButton* deletePoints_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* redo_ = nullptr;
    QPushButton* projector_ = nullptr;
    QLabel* message_ = nullptr;
    QTimer timer_;
    bool soundAway_ = false;  // the live values say the sound input is away
};

}  // namespace app::lab
