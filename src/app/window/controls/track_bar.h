#pragma once
// A horizontal track bar. userChanged() is raised for every change of position
// made by the user (mouse, keyboard, or a scripted user action), never when the
// program sets the position with setPosition().
#include "app/window/window_definition.h"

#include <QSlider>

namespace app::window::controls {

class TrackBar : public QSlider {
    Q_OBJECT
public:
    TrackBar(const ControlDef& def, QWidget* parent);

    int position() const { return value(); }
    void setPosition(int position);  // no change event

    // What a user's move to `position` does: the position changes, then the
    // change event runs (only when the position really changed).
    void userSetPosition(int position);

signals:
    void userChanged();

private:
    void onValueChanged();
    bool programmatic_ = false;
};

}  // namespace app::window::controls
