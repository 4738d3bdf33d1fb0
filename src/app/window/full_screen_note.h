#pragma once
// The note shown for a few seconds on entering full screen: how to leave it.
// It lies over the bottom of the instruments, below the track bar, in the
// window (not in the client area, so that a --snapshot shows the instruments
// alone), scales with them, and lets the mouse through.
#include <QTimer>
#include <QWidget>

namespace app::window {

class ClientArea;

class FullScreenNote : public QWidget {
public:
    FullScreenNote(ClientArea& area, QWidget* window);

    // Shows the note for `milliseconds`, then hides it.
    void showFor(int milliseconds);

    static QString text();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QFont noteFont() const;
    void place();

    ClientArea& area_;
    QWidget* stage_;  // the area's, kept: the area may be half gone when its stage sends events
    QTimer hide_;
};

}  // namespace app::window
