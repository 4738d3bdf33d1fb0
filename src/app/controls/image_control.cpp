#include "app/controls/image_control.h"

#include <QPainter>

namespace app {

ImageControl::ImageControl(int width, int height, QWidget* parent)
    : QWidget(parent), canvas_(width, height) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_.image());
}

}  // namespace app
