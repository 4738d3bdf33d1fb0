#include "app/lab/lab.h"

#include "app/lab/lab_session.h"
#include "app/lab/lab_window.h"
#include "app/lab/protocol/protocol.h"
#include "app/session/session.h"

#include <QShortcut>
#include <QTimer>

namespace app::lab {

Lab::Lab(session::Session& session, QWidget& mainWindow)
    : QObject(&session),
      csvDialect(::lab::dialectFor(QLocale())),
      mainWindow_(mainWindow),
      session_(*new LabSession(session)) {}

LabWindow& Lab::window() {
    if (window_ == nullptr) {
        window_ = new LabWindow(session_, &mainWindow_);  // owned by the main window
        if (classViewOpener_) window_->setClassViewOpener(classViewOpener_);
        placed_ = false;
    }
    return *window_;
}

void Lab::open() {
    LabWindow& w = window();
    if (!placed_ && !w.isVisible()) {
        // Beside the main window where the screen has room for it, else over the screen.
        placed_ = true;
        if (!w.placeBeside(mainWindow_)) {
            w.showMaximized();
            w.raise();
            w.activateWindow();
            return;
        }
    }
    w.show();
    w.raise();
    w.activateWindow();
}

void Lab::openOnProjector() {
    LabWindow& w = window();
    w.arrange(LabWindow::Layout::Projector);
    placed_ = true;
    w.showFullScreen();
    w.raise();
    w.activateWindow();
}

Lab& setupLab(session::Session& session, QWidget& mainWindow, const Options& options) {
    auto* lab = new Lab(session, mainWindow);  // owned by the session
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(Lab::kShortcut)), &mainWindow);
    QObject::connect(shortcut, &QShortcut::activated, lab, &Lab::open);
    // Once the main window is shown: over it, and placed by where it is.
    if (options.lab)
        QTimer::singleShot(0, lab, options.fullScreen && !options.headless ? &Lab::openOnProjector : &Lab::open);
    return *lab;
}

platform::files::WriteOutcome Lab::writeProtocol(const QString& path) {
    return writeProtocolPdf(path, session_, window().graph(), protocolFacts(session_));
}

}  // namespace app::lab
