#pragma once
// The status line under the main window. Several parts of the program have
// something to tell the teacher there (the sound devices, the calibration in
// force, how to start without a card); each owns one slot and sets or clears
// its own text. The line shows the non-empty slots in slot order and is hidden
// while all are empty, so the window looks as designed when nobody speaks.
#include <QObject>
#include <QString>
#include <array>

class QMainWindow;

namespace app {

enum class StatusSlot { Devices, Calibration, Setup, Count };

class StatusLine : public QObject {
    Q_OBJECT  // so that finding the window's line by its type finds this one
public:
    // The window's status line, created on first use and owned by the window.
    static StatusLine& of(QMainWindow& window);

    void set(StatusSlot slot, const QString& text);
    QString text(StatusSlot slot) const { return parts_[static_cast<std::size_t>(slot)]; }
    // What the line shows now (the slots joined), empty when hidden.
    QString shown() const { return shown_; }

private:
    explicit StatusLine(QMainWindow& window);
    void refresh();

    QMainWindow& window_;
    std::array<QString, static_cast<std::size_t>(StatusSlot::Count)> parts_;
    QString shown_;
};

}  // namespace app
