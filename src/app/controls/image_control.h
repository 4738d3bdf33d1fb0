#pragma once
// An image control: shows the bitmap of its drawing canvas at its top-left corner.
#include "render/canvas.h"

#include <QWidget>

namespace app {

class ImageControl : public QWidget {
public:
    ImageControl(int width, int height, QWidget* parent);

    render::Canvas& canvas() { return canvas_; }
    const render::Canvas& canvas() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    render::Canvas canvas_;
};

}  // namespace app
