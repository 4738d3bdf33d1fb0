#include "app/lab/lab.h"

#include "app/lab/lab_session.h"
#include "app/lab/lab_window.h"
#include "app/window/form.h"

#include <QShortcut>
#include <algorithm>

namespace app::lab {

Lab::Lab(window::TForm1& form)
    : QObject(&form), csvDialect(::lab::dialectFor(QLocale())), form_(form), session_(*new LabSession(form)) {}

LabWindow& Lab::window() {
    if (window_ == nullptr) {
        window_ = new LabWindow(session_, &form_);  // owned by the main window
        // Beside the main window, whose client area has its design size.
        window_->move(form_.x() + std::max(form_.width(), form_.sizeHint().width()) + 16, form_.y());
    }
    return *window_;
}

void Lab::open() {
    LabWindow& w = window();
    w.show();
    w.raise();
    w.activateWindow();
}

Lab& setupLab(window::TForm1& form, const Options& options) {
    auto* lab = new Lab(form);  // owned by the window
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(Lab::kShortcut)), &form);
    QObject::connect(shortcut, &QShortcut::activated, lab, &Lab::open);
    if (options.lab) lab->open();
    return *lab;
}

}  // namespace app::lab
