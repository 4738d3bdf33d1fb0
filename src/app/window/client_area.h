#pragma once
// The client area of the main window. Its stage holds the controls of the
// window definition: at the design size exactly as the definition has them;
// at any other size (a resized or maximised window, full screen) the whole
// design scaled by one factor, across and down alike, as large as the area
// allows, and centred. Every control's left, top, right and bottom edge is
// scaled, and the fonts of panels, edits and buttons with them. What the stage
// leaves of the area is painted in a calm grey. (The menu bar keeps its font:
// --scale scales it, with the rest of the window.)
#include <QWidget>

#include <functional>

namespace app::window {

class ClientArea : public QWidget {
public:
    // `control` finds a control of the window definition by name (nullptr
    // when there is none).
    ClientArea(std::function<QWidget*(const QString&)> control, QWidget* parent);

    // The parent of the window definition's top-level controls.
    QWidget* stage() const { return stage_; }
    // The factor applied now (1 at the design size).
    double scale() const { return scale_; }

    // The design size: what the window opens at.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void place();

    std::function<QWidget*(const QString&)> control_;
    QWidget* stage_;
    double scale_ = 1.0;
};

// The colour of the room around the stage.
inline constexpr QRgb kSpareRoomColor = 0xFF303030;

}  // namespace app::window
