#include "app/status/band_note.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace app::status {

BandNote::BandNote(QWidget* image, QSize imageDesignSize, QRect area, int letterPx, const QString& text)
    : QWidget(image), design_(imageDesignSize), area_(area), letterPx_(letterPx), text_(text) {
    setObjectName(QStringLiteral("BandNote"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    image->installEventFilter(this);
    place();
    show();
}

bool BandNote::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize) place();
    return QWidget::eventFilter(watched, event);
}

void BandNote::place() {
    const QWidget* image = parentWidget();
    const double kx = double(image->width()) / design_.width();
    const double ky = double(image->height()) / design_.height();
    auto at = [](int v, double k) { return static_cast<int>(std::lround(v * k)); };
    setGeometry(QRect(QPoint(at(area_.left(), kx), at(area_.top(), ky)),
                      QPoint(at(area_.right() + 1, kx) - 1, at(area_.bottom() + 1, ky) - 1)));
    update();
}

void BandNote::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(letterPx_ * double(height()) / area_.height()))));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, text_);
}

}  // namespace app::status
