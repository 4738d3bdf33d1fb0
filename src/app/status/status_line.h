#pragma once
// The status line under the main window. Several parts of the program have
// something to tell the teacher there (the sound devices, the calibration in
// force, how to start without a card); each owns one slot and sets or clears
// its own text. The line shows the non-empty slots in slot order and is hidden
// while all are empty, so the window looks as designed when nobody speaks.
// The text stays when the menus show their (empty) tips on the line.
#include <QObject>
#include <QString>
#include <array>

class QLabel;
class QMainWindow;

namespace app::status {

enum class StatusSlot { Devices, Calibration, Overload, Setup, Sharing, Count };

class StatusLine : public QObject {
public:
    // The line of `window`, owned by it; made once, when the program starts,
    // and handed to every part that speaks there.
    explicit StatusLine(QMainWindow& window);

    void set(StatusSlot slot, const QString& text);
    QString text(StatusSlot slot) const { return parts_[static_cast<std::size_t>(slot)]; }
    // What the line shows now (the slots joined), empty when hidden.
    QString shown() const { return shown_; }

private:
    void refresh();

    QMainWindow& window_;
    QLabel* label_ = nullptr;  // made with the line, when first needed
    std::array<QString, static_cast<std::size_t>(StatusSlot::Count)> parts_;
    QString shown_;
};

}  // namespace app::status
