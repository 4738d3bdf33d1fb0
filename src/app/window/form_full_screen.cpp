// Full screen on and off (F11, --fullscreen).
#include "app/window/form.h"

#include "app/window/window_definition.h"

#include <QScreen>
#include <QWidget>

namespace app::window {

void TForm1::setFullScreen(bool on) {
    if (on == fullScreen_) return;
    fullScreen_ = on;
    if (on) {
        normalPlace_ = geometry();
        client_->setMinimumSize(kClientWidth, kClientHeight);
        client_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        showFullScreen();
        // Without a window manager nothing else gives the window the screen.
        if (const QScreen* s = screen()) setGeometry(s->geometry());
    } else {
        showNormal();
        client_->setFixedSize(kClientWidth, kClientHeight);
        adjustSize();
        // Without a window manager the window is put back by hand.
        if (normalPlace_.isValid()) move(normalPlace_.topLeft());
    }
}

}  // namespace app::window
