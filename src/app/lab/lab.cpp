#include "app/lab/lab.h"

#include "app/lab/lab_session.h"
#include "app/lab/lab_window.h"
#include "app/session/session.h"

#include <QShortcut>
#include <algorithm>

namespace app::lab {

Lab::Lab(session::Session& session, QWidget& mainWindow)
    : QObject(&session),
      csvDialect(::lab::dialectFor(QLocale())),
      mainWindow_(mainWindow),
      session_(*new LabSession(session)) {}

LabWindow& Lab::window() {
    if (window_ == nullptr) {
        window_ = new LabWindow(session_, &mainWindow_);  // owned by the main window
        // Beside the main window, whose client area has its design size.
        window_->move(mainWindow_.x() + std::max(mainWindow_.width(), mainWindow_.sizeHint().width()) + 16,
                      mainWindow_.y());
    }
    return *window_;
}

void Lab::open() {
    LabWindow& w = window();
    w.show();
    w.raise();
    w.activateWindow();
}

Lab& setupLab(session::Session& session, QWidget& mainWindow, const Options& options) {
    auto* lab = new Lab(session, mainWindow);  // owned by the session
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(Lab::kShortcut)), &mainWindow);
    QObject::connect(shortcut, &QShortcut::activated, lab, &Lab::open);
    if (options.lab) lab->open();
    return *lab;
}

}  // namespace app::lab
