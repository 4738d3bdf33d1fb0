#pragma once
// The waveforms: the current and the voltage of the line input's last
// periods against time, each on its own scale (current on the left, voltage on
// the right), starting at the current's rising crossing so that a steady
// signal stands still, and the phase shift between them in words.
#include <qcustomplot.h>

namespace app::lab {

class LabSession;

class WaveformView : public QCustomPlot {
public:
    WaveformView(LabSession& session, QWidget* parent);

    // Draws what the session holds now (live, or held still).
    void refresh();

    // "Proud předbíhá napětí o 57,9°" and the like; "" without a phase.
    QString phaseText() const { return phaseText_; }

private:
    LabSession& session_;
    QCPGraph* current_ = nullptr;
    QCPGraph* voltage_ = nullptr;
    QCPTextElement* title_ = nullptr;
    QString phaseText_;
};

// The phase of the voltage against the current (positive: the voltage leads)
// in a teacher's words.
QString phaseSentence(double voltageLeadsDegrees);

}  // namespace app::lab
