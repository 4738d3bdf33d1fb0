#pragma once
// An image control: shows the bitmap of its drawing canvas at its top-left
// corner. Shown larger than its design size (a scaled or full-screen window),
// it shows the canvas's rendering at the screen's resolution instead, filling
// the control.
#include "render/canvas.h"

#include <QWidget>

namespace app::window::controls {

class ImageControl : public QWidget {
public:
    ImageControl(int width, int height, QWidget* parent);

    render::Canvas& canvas() { return canvas_; }
    const render::Canvas& canvas() const { return canvas_; }

    // Repaints what the canvas drew since the last refresh.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Screen pixels per design pixel, across and down.
    void updateDisplayScale();

    render::Canvas canvas_;
};

}  // namespace app::window::controls
