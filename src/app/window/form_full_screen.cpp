// How the window takes the screen: resizable, full screen on and off (F11,
// Esc, --fullscreen), and never larger than the screen allows.
#include "app/window/form.h"

#include "app/window/full_screen_note.h"
#include "app/window/window_definition.h"
#include "app/window/window_scale.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>

namespace app::window {

namespace {

constexpr int kNoteMilliseconds = 5000;

// Wayland compositors place and size windows themselves; a client that sets
// its own geometry there only gets in their way.
bool compositorPlacesWindows() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace

void TForm1::setUpWindowing() {
    auto* fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), this);
    connect(fullScreen, &QShortcut::activated, this, &TForm1::toggleFullScreen);
    leaveFullScreen_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    leaveFullScreen_->setEnabled(false);
    connect(leaveFullScreen_, &QShortcut::activated, this, [this] { setFullScreen(false); });
    fullScreenNote_ = new FullScreenNote(*client_, this);
    client_->setMinimumSize(windowedClientMinimum());
}

QSize TForm1::windowedClientMinimum() const {
    const QSize design(kClientWidth, kClientHeight);
    // The offscreen platform's screen is nominal: headless runs keep the design.
    const QScreen* s = screen();
    if (s == nullptr || QGuiApplication::platformName() == QLatin1String("offscreen")) return design;
    return clientRoom(s->availableGeometry().size(), false).boundedTo(design);
}

void TForm1::setFullScreen(bool on) {
    if (on == fullScreen_) return;
    fullScreen_ = on;
    leaveFullScreen_->setEnabled(on);
    if (on) {
        // What to come back to (before it is first shown, the window's
        // geometry is not yet its own).
        normalPlace_ = isVisible() ? geometry() : QRect(pos(), sizeHint());
        // The instruments fit whatever the screen leaves beside the menu bar
        // and the status line: the window never asks for more than the screen.
        client_->setMinimumSize(0, 0);
        setWindowState(windowState() | Qt::WindowFullScreen);
        show();
        // Without a window manager nothing else gives the window the screen.
        if (!compositorPlacesWindows())
            if (const QScreen* s = screen()) setGeometry(s->geometry());
        fullScreenNote_->showFor(kNoteMilliseconds);
    } else {
        fullScreenNote_->hide();
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        client_->setMinimumSize(windowedClientMinimum());
        if (!isMaximized() && normalPlace_.isValid()) {
            resize(normalPlace_.size());
            // Without a window manager the window is put back by hand.
            if (!compositorPlacesWindows()) move(normalPlace_.topLeft());
        }
    }
}

}  // namespace app::window
