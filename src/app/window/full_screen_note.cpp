#include "app/window/full_screen_note.h"

#include "app/window/client_area.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace app::window {

namespace {
// In design pixels, scaled with the stage.
constexpr int kLetterPx = 22;
constexpr int kBottomPx = 10;  // above the stage's bottom edge
}  // namespace

QString FullScreenNote::text() { return QStringLiteral("Celou obrazovku opustíte klávesou Esc nebo F11"); }

FullScreenNote::FullScreenNote(ClientArea& area, QWidget* window)
    : QWidget(window), area_(area), stage_(area.stage()) {
    setObjectName(QStringLiteral("FullScreenNote"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    hide_.setSingleShot(true);
    connect(&hide_, &QTimer::timeout, this, &QWidget::hide);
    // The stage moves and grows after the client area's own resize.
    stage_->installEventFilter(this);
}

void FullScreenNote::showFor(int milliseconds) {
    place();
    show();
    raise();
    hide_.start(milliseconds);
}

bool FullScreenNote::eventFilter(QObject* watched, QEvent* event) {
    if (watched == stage_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move) && isVisible())
        place();
    return QWidget::eventFilter(watched, event);
}

QFont FullScreenNote::noteFont() const {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(kLetterPx * area_.scale()))));
    return font;
}

void FullScreenNote::place() {
    const QFontMetrics metrics(noteFont());
    const int pad = metrics.height() / 2;
    const QSize size(metrics.horizontalAdvance(text()) + 4 * pad, metrics.height() + 2 * pad);
    const QRect stage = stage_->geometry().translated(area_.pos());
    const int bottom = static_cast<int>(std::lround(kBottomPx * area_.scale()));
    setGeometry(QRect(QPoint(stage.x() + (stage.width() - size.width()) / 2, stage.bottom() + 1 - size.height() - bottom),
                      size));
    update();
}

void FullScreenNote::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 200));
    const double radius = height() / 4.0;
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
    painter.setFont(noteFont());
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace app::window
