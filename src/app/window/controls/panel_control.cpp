#include "app/window/controls/panel_control.h"

#include "app/window/controls/control_font.h"

#include <QPainter>

namespace app::window::controls {
namespace {

// Draws one bevel of width w inside r and returns the rectangle inside it.
QRect drawBevel(QPainter& p, QRect r, Bevel bevel, int w) {
    if (bevel == Bevel::None) return r;
    const QColor light(255, 255, 255);
    const QColor dark(128, 128, 128);
    const QColor& topLeft = bevel == Bevel::Raised ? light : dark;
    const QColor& bottomRight = bevel == Bevel::Raised ? dark : light;
    for (int i = 0; i < w; ++i) {
        p.setPen(topLeft);
        p.drawLine(r.left(), r.top(), r.right(), r.top());
        p.drawLine(r.left(), r.top(), r.left(), r.bottom());
        p.setPen(bottomRight);
        p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        r.adjust(1, 1, -1, -1);
    }
    return r;
}

}  // namespace

PanelControl::PanelControl(const ControlDef& def, QWidget* parent)
    : QWidget(parent),
      caption_(QString::fromUtf8(def.caption)),
      color_(def.color),
      textColor_(def.font.color),
      align_(def.align),
      inner_(def.bevelInner),
      outer_(def.bevelOuter),
      bevelWidth_(def.bevelWidth),
      singleBorder_(def.singleBorder) {
    setFont(controlFont(def.font));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PanelControl::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
}

void PanelControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect r = rect();
    if (singleBorder_) {
        p.setPen(QColor(0, 0, 0));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    r = drawBevel(p, r, outer_, bevelWidth_);
    r = drawBevel(p, r, inner_, bevelWidth_);
    p.fillRect(r, color_.isValid() ? color_ : palette().color(QPalette::Button));
    p.setPen(textColor_);
    p.setFont(font());
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine |
                      (align_ == CaptionAlign::Left ? Qt::AlignLeft : Qt::AlignHCenter);
    p.drawText(r, flags, caption_);
}

}  // namespace app::window::controls
