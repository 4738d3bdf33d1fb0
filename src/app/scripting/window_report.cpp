#include "app/scripting/window_report.h"

#include "app/scripting/headless_runner.h"
#include "app/window/form.h"

#include <QApplication>
#include <QSocketNotifier>

#include <unistd.h>

namespace app::scripting {

WindowReport::WindowReport(window::TForm1& form, HeadlessRunner& writer, const Options& options)
    : QObject(&form), writer_(writer), options_(options) {
    if (options.snapshot.isEmpty() && options.stateFile.isEmpty()) return;
    notifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &WindowReport::onInput);
}

WindowReport::~WindowReport() = default;

void WindowReport::onInput() {
    char buffer[256];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n > 0) return;  // whatever comes in is ignored; the end is the signal
    notifier_->setEnabled(false);
    QApplication::exit(writer_.writeOutputs(options_) ? 0 : 1);
}

}  // namespace app::scripting
