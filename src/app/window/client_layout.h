#pragma once
// Places the controls of the client area relative to its size: at the design
// size exactly as the window definition has them; larger (full screen), every
// control's left, top, width and height stretched by the area's size over the
// design size, across and down, and the fonts of panels, edits and buttons
// scaled by the smaller of the two stretches. (The menu bar keeps its font:
// its height takes from the client area's, and --scale scales it anyway.)
#include <QObject>

class QWidget;

namespace app::window {

class TForm1;

class ClientLayout : public QObject {
public:
    // Owned by the form's client area, whose resizes it follows.
    explicit ClientLayout(TForm1& form);

    // The stretch applied now (1, 1 at the design size).
    double stretchX() const { return kx_; }
    double stretchY() const { return ky_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    TForm1& form_;
    QWidget* client_;  // the client area, this object's parent
    double kx_ = 1.0;
    double ky_ = 1.0;
};

}  // namespace app::window
