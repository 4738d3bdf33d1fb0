#pragma once
// The waveforms: the current and the voltage of the line input's last
// periods against time, each on its own scale (current on the left, voltage on
// the right), starting at the current's rising crossing so that a steady
// signal stands still, and the load's phase in words (the live values' φ).
#include <qcustomplot.h>

namespace app::lab {

class LabSession;

class WaveformView : public QCustomPlot {
public:
    WaveformView(LabSession& session, QWidget* parent);

    // Draws what the session holds now (live, or held still).
    void refresh();

    // The size of every text: title, axes' titles, tick numbers, legend.
    void setTextPixelSize(int pixels);

    // "Proud předbíhá napětí o 57,9°" and the like, or "Žádný signál" (lab::phaseWords).
    QString phaseText() const { return phaseText_; }

private:
    LabSession& session_;
    QCPGraph* current_ = nullptr;
    QCPGraph* voltage_ = nullptr;
    QCPTextElement* title_ = nullptr;
    QString phaseText_;
};

}  // namespace app::lab
