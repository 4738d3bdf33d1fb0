#pragma once
// The generator in the lab: the source voltage (the source's RMS with a
// card's profile, the nominal voltage without, as the main window's readout
// shows it) and the frequency, typed or stepped with the arrow keys (PageUp,
// PageDown: ten steps). Each moves TrackBar1 or TrackBar2 of the session as
// the teacher's move would, so the main window's bars follow; and each
// follows the bars when they move elsewhere. What cannot be set as typed
// (out of range, between two settings) is said below, with what was set.
//
// Widgets by object name: amplitude, frequency, generatorNote.
#include <QWidget>

class QDoubleSpinBox;
class QLabel;

namespace app::session {
class Session;
}

namespace app::lab {

class GeneratorPanel : public QWidget {
public:
    // Volts of one arrow step (one step of the readout) and hertz.
    static constexpr double kVoltStep = 0.02;
    static constexpr double kHertzStep = 1.0;

    GeneratorPanel(session::Session& session, QWidget* parent);

private:
    void setVoltage(double volts);
    void setFrequency(double hz);
    // The entries as the bars are now.
    void showSettings();
    double sourceGain() const;

    session::Session& session_;
    QDoubleSpinBox* amplitude_ = nullptr;
    QDoubleSpinBox* frequency_ = nullptr;
    QLabel* amplitudeCaption_ = nullptr;
    QLabel* note_ = nullptr;
};

}  // namespace app::lab
