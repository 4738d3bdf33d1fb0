#include "app/status/status_line.h"

#include <QMainWindow>
#include <QStatusBar>

namespace app::status {

StatusLine::StatusLine(QMainWindow& window) : QObject(&window), window_(window) {}

void StatusLine::set(StatusSlot slot, const QString& text) {
    QString& part = parts_[static_cast<std::size_t>(slot)];
    if (part == text) return;
    part = text;
    refresh();
}

void StatusLine::refresh() {
    QString text;
    for (const QString& part : parts_) {
        if (part.isEmpty()) continue;
        if (!text.isEmpty()) text += QStringLiteral("   ");
        text += part;
    }
    if (text == shown_) return;
    shown_ = text;
    window_.statusBar()->setVisible(!text.isEmpty());
    window_.statusBar()->showMessage(text);
}

}  // namespace app::status
