// How the window takes the screen: resizable, full screen on and off (F11,
// Esc, --fullscreen), and never larger than the screen allows.
#include "app/window/form.h"

#include "app/window/full_screen_note.h"
#include "app/window/window_definition.h"
#include "app/window/window_manager.h"
#include "app/window/window_scale.h"

#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

namespace app::window {

namespace {

constexpr int kNoteMilliseconds = 5000;
// How long a compositor may take to answer a switch before the window stops
// waiting for it.
constexpr int kSwitchTimeoutMilliseconds = 1000;

// Wayland compositors place and size windows themselves; a client that sets
// its own geometry there only gets in their way.
bool compositorPlacesWindows() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace

void TForm1::setUpWindowing() {
    auto* fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), this);
    // A key held a little long switches once: the key's repeats, which the
    // toolkit makes itself on Wayland when the key's release comes late (a
    // busy machine), would switch full screen off again.
    fullScreen->setAutoRepeat(false);
    connect(fullScreen, &QShortcut::activated, this, &TForm1::toggleFullScreen);
    leaveFullScreen_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    leaveFullScreen_->setAutoRepeat(false);
    leaveFullScreen_->setEnabled(false);
    connect(leaveFullScreen_, &QShortcut::activated, this, [this] { setFullScreen(false); });
    fullScreenNote_ = new FullScreenNote(*client_, this);
    switchTimeout_ = new QTimer(this);
    switchTimeout_->setSingleShot(true);
    switchTimeout_->setInterval(kSwitchTimeoutMilliseconds);
    connect(switchTimeout_, &QTimer::timeout, this, &TForm1::switched);
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
    if (switching_) {
        wantedFullScreen_ = on;
        return;
    }
    wantedFullScreen_.reset();
    if (on == fullScreen_) return;
    fullScreen_ = on;
    leaveFullScreen_->setEnabled(on);
    // Until the compositor has answered, Qt's Wayland client takes a further
    // switch for one it has made already, and sends nothing.
    switching_ = compositorPlacesWindows() && isVisible();
    if (switching_) switchTimeout_->start();
    // A window manager (or a compositor) makes the window full screen and
    // puts it back: it knows the screen, the frame and where the window was.
    // Without one the program does both itself.
    byWindowManager_ = windowManagerDoesFullScreen();
    if (on) {
        // What to come back to (before it is first shown, the window's
        // geometry is not yet its own).
        normalPlace_ = isVisible() ? geometry() : QRect(pos(), sizeHint());
        maximizedBefore_ = isMaximized();
        // The instruments fit whatever the screen leaves beside the menu bar
        // and the status line: the window never asks for more than the screen.
        client_->setMinimumSize(0, 0);
        showFullScreen();
        if (!byWindowManager_)
            if (const QScreen* s = screen()) setGeometry(s->geometry());
        fullScreenNote_->showFor(kNoteMilliseconds);
    } else {
        fullScreenNote_->hide();
        if (maximizedBefore_)
            showMaximized();
        else
            showNormal();
        client_->setMinimumSize(windowedClientMinimum());
        // A compositor's answer brings a size of its own: the size the
        // window had is given back after it.
        if (!switching_) restoreNormalPlace();
    }
}

void TForm1::restoreNormalPlace() {
    if (isMaximized() || !normalPlace_.isValid()) return;
    // A window manager on X11 puts the window back where it was, frame and
    // all: moving it as well would shift it by its frame.
    if (byWindowManager_ && !compositorPlacesWindows()) return;
    resize(normalPlace_.size());
    // Without a window manager the window is put back by hand.
    if (!compositorPlacesWindows()) move(normalPlace_.topLeft());
}

void TForm1::switched() {
    if (!switching_) return;
    switching_ = false;
    switchTimeout_->stop();
    if (!fullScreen_) restoreNormalPlace();
    if (wantedFullScreen_) {
        const bool wanted = *wantedFullScreen_;
        setFullScreen(wanted);
    }
    client_->update();  // shown as it is now
}

// The compositor's answer to a switch comes as a new size or state from the
// window system; it is taken up once Qt has finished applying it.
void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (switching_ && event->spontaneous()) QTimer::singleShot(0, this, &TForm1::switched);
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !event->spontaneous()) return;
    if (switching_) {
        QTimer::singleShot(0, this, &TForm1::switched);
        return;
    }
    // Full screen switched by the window manager or the compositor itself.
    const bool on = windowState().testFlag(Qt::WindowFullScreen);
    if (on == fullScreen_) return;
    fullScreen_ = on;
    leaveFullScreen_->setEnabled(on);
    client_->setMinimumSize(on ? QSize(0, 0) : windowedClientMinimum());
    if (!on) fullScreenNote_->hide();
}

}  // namespace app::window
