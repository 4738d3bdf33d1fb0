#include "app/scripting/window_report.h"

#include "app/scripting/headless_runner.h"
#include "app/window/form.h"

#include <QApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QTimer>

#include <cmath>
#include <cstdio>

#include <unistd.h>

namespace app::scripting {

WindowReport::WindowReport(window::TForm1& form, HeadlessRunner& writer, const Options& options)
    : QObject(&form), form_(form), writer_(writer), options_(options) {
    if (options.snapshot.isEmpty() && options.stateFile.isEmpty()) return;
    notifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &WindowReport::onInput);
    form.installEventFilter(this);
    form.clientArea()->installEventFilter(this);
}

WindowReport::~WindowReport() = default;

QString WindowReport::shownLine(const window::TForm1& form) {
    const double dpr = form.devicePixelRatioF();
    auto px = [dpr](int logical) { return static_cast<int>(std::lround(logical * dpr)); };
    const QWidget* stage = form.clientArea()->stage();
    const QPoint at = stage->mapTo(&form, QPoint(0, 0));
    return QStringLiteral("shown window=%1x%2 fullscreen=%3 stage=%4,%5,%6x%7")
        .arg(px(form.width()))
        .arg(px(form.height()))
        .arg(form.fullScreen() ? 1 : 0)
        .arg(px(at.x()))
        .arg(px(at.y()))
        .arg(px(stage->width()))
        .arg(px(stage->height()));
}

bool WindowReport::eventFilter(QObject* watched, QEvent* event) {
    // Taking the window's new size or state ends with the client area painted.
    if (watched == &form_) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show || type == QEvent::Resize || type == QEvent::WindowStateChange) changed_ = true;
    } else if (event->type() == QEvent::Paint && changed_) {
        changed_ = false;
        // After the paint has gone to the screen.
        QTimer::singleShot(0, this, &WindowReport::reportShown);
    }
    return QObject::eventFilter(watched, event);
}

void WindowReport::reportShown() {
    // Not before the compositor has answered a switch (the window paints
    // itself once more when it has).
    if (form_.switchingFullScreen()) {
        changed_ = true;
        return;
    }
    const QString line = shownLine(form_);
    if (line == lastShown_) return;
    lastShown_ = line;
    std::printf("%s\n", line.toLatin1().constData());
    std::fflush(stdout);
}

void WindowReport::onInput() {
    char buffer[256];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n > 0) return;  // whatever comes in is ignored; the end is the signal
    notifier_->setEnabled(false);
    QApplication::exit(writer_.writeOutputs(options_) ? 0 : 1);
}

}  // namespace app::scripting
