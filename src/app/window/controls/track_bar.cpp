#include "app/window/controls/track_bar.h"

namespace app::window::controls {

TrackBar::TrackBar(const ControlDef& def, QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    programmatic_ = true;
    setRange(def.track.min, def.track.max);
    setValue(def.track.position);
    programmatic_ = false;
    setTickInterval(def.track.tickEvery);
    setTickPosition(QSlider::TicksBelow);
    setSingleStep(1);
    setPageStep(2);
    connect(this, &QSlider::valueChanged, this, &TrackBar::onValueChanged);
}

void TrackBar::setPosition(int position) {
    programmatic_ = true;
    setValue(position);
    programmatic_ = false;
}

void TrackBar::userSetPosition(int position) { setValue(position); }

void TrackBar::onValueChanged() {
    if (!programmatic_) emit userChanged();
}

}  // namespace app::window::controls
