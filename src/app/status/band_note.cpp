#include "app/status/band_note.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace app::status {

namespace {
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap;
}  // namespace

BandNote::BandNote(QWidget* image, QSize imageDesignSize, QRect area, int letterPx, const QString& text,
                   NoteLook look)
    : QWidget(image), design_(imageDesignSize), area_(area), letterPx_(letterPx), text_(text), look_(look) {
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

QFont BandNote::font() const {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    int px = std::max(1, static_cast<int>(std::lround(letterPx_ * double(height()) / area_.height())));
    font.setPixelSize(px);
    // As large as asked, or as large as still fits.
    const QRect room = rect();
    while (px > 1 && !room.contains(QFontMetrics(font).boundingRect(room, kTextFlags, text_))) {
        font.setPixelSize(--px);
    }
    return font;
}

int BandNote::letterPixels() const { return font().pixelSize(); }

void BandNote::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (look_.fill.alpha() != 0) painter.fillRect(rect(), look_.fill);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font());
    painter.setPen(look_.text);
    painter.drawText(rect(), kTextFlags, text_);
}

}  // namespace app::status
