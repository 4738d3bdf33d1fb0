#include "app/window/client_area.h"

#include "app/window/controls/control_font.h"
#include "app/window/window_definition.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace app::window {

namespace {

// The factor that fits the design size into `room` (0 when it is empty).
double fittingFactor(QSize room) {
    if (room.width() <= 0 || room.height() <= 0) return 0.0;
    return std::min(double(room.width()) / kClientWidth, double(room.height()) / kClientHeight);
}

}  // namespace

ClientArea::ClientArea(std::function<QWidget*(const QString&)> control, QWidget* parent)
    : QWidget(parent), control_(std::move(control)), stage_(new QWidget(this)) {
    stage_->setGeometry(0, 0, kClientWidth, kClientHeight);
}

QSize ClientArea::sizeHint() const { return {kClientWidth, kClientHeight}; }

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place();
}

void ClientArea::paintEvent(QPaintEvent*) {
    // The stage shows the window's own background between its controls.
    const QRegion spare = QRegion(rect()) - stage_->geometry();
    if (spare.isEmpty()) return;
    QPainter painter(this);
    painter.setClipRegion(spare);
    painter.fillRect(rect(), QColor::fromRgb(kSpareRoomColor));
}

void ClientArea::place() {
    const double k = fittingFactor(size());
    if (k <= 0.0) return;
    const QSize staged(static_cast<int>(std::lround(kClientWidth * k)),
                       static_cast<int>(std::lround(kClientHeight * k)));
    if (k != scale_) {
        scale_ = k;
        // Edges are scaled, not sizes, so that neighbouring controls still meet.
        auto edge = [k](int at) { return static_cast<int>(std::lround(at * k)); };
        for (const ControlDef& def : controlDefinitions()) {
            QWidget* w = control_(QString::fromUtf8(def.name));
            if (w == nullptr) continue;
            const int left = edge(def.left);
            const int top = edge(def.top);
            w->setGeometry(left, top, edge(def.left + def.width) - left, edge(def.top + def.height) - top);
            if (def.kind == ControlKind::Panel || def.kind == ControlKind::Edit ||
                def.kind == ControlKind::SpeedButton) {
                FontDef font = def.font;
                font.heightPx = std::max(1, static_cast<int>(std::lround(font.heightPx * k)));
                w->setFont(controls::controlFont(font));
            }
        }
    }
    // Last, so that whoever follows the stage finds the new scale.
    stage_->setGeometry(QRect(QPoint((width() - staged.width()) / 2, (height() - staged.height()) / 2), staged));
}

}  // namespace app::window
