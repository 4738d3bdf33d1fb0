#include "app/status/status_line.h"

#include <QLabel>
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
    QStatusBar* bar = window_.statusBar();
    if (label_ == nullptr) {
        // A widget of the line, not a message: a message is what a menu's tip
        // replaces, and it would be gone for good once a menu was opened.
        label_ = new QLabel(bar);
        bar->addWidget(label_, 1);
    }
    label_->setText(text);
    bar->setVisible(!text.isEmpty());
}

}  // namespace app::status
