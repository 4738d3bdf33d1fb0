#include "app/window/controls/image_control.h"

#include <QPainter>
#include <QPaintEvent>

#include <cmath>

namespace app::window::controls {

ImageControl::ImageControl(int width, int height, QWidget* parent)
    : QWidget(parent), canvas_(width, height) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.setRecording(true);
}

void ImageControl::updateDisplayScale() {
    if (canvas_.width() <= 0 || canvas_.height() <= 0) return;
    const double dpr = devicePixelRatioF();
    canvas_.setDisplayScale(width() * dpr / canvas_.width(), height() * dpr / canvas_.height());
}

void ImageControl::refresh() {
    const QRect dirty = canvas_.takeDirtyRect();
    if (dirty.isEmpty()) return;
    if (canvas_.displayImage().isNull()) {
        update(dirty);
        return;
    }
    // The design rectangle in this control's coordinates, rounded outwards.
    const double kx = double(width()) / canvas_.width();
    const double ky = double(height()) / canvas_.height();
    const int left = static_cast<int>(std::floor(dirty.left() * kx)) - 1;
    const int top = static_cast<int>(std::floor(dirty.top() * ky)) - 1;
    const int right = static_cast<int>(std::ceil((dirty.right() + 1) * kx)) + 1;
    const int bottom = static_cast<int>(std::ceil((dirty.bottom() + 1) * ky)) + 1;
    update(QRect(QPoint(left, top), QPoint(right, bottom)));
}

void ImageControl::paintEvent(QPaintEvent* event) {
    updateDisplayScale();
    QPainter painter(this);
    const QImage& display = canvas_.displayImage();
    if (display.isNull()) {
        const QRect r = event->rect();  // the bitmap is shown pixel for pixel
        painter.drawImage(r.topLeft(), canvas_.image(), r);
        return;
    }
    QImage shown = display;  // shallow copy: only the ratio differs
    shown.setDevicePixelRatio(devicePixelRatioF());
    painter.drawImage(QPointF(0, 0), shown);
}

}  // namespace app::window::controls
