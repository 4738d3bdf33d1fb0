#include "app/window/menu_bar_style.h"

#include <QApplication>

#include <algorithm>

namespace app::window {

namespace {
// At most this much room between two entries, and this much less around a
// caption than the style gives.
constexpr int kItemSpacing = 2;
constexpr int kTighterItem = 4;
}  // namespace

MenuBarStyle::MenuBarStyle() : QProxyStyle(QApplication::style()->name()) {}

int MenuBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    return metric == PM_MenuBarItemSpacing ? std::min(base, kItemSpacing) : base;
}

QSize MenuBarStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                     const QWidget* widget) const {
    QSize s = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_MenuBarItem) s.setWidth(std::max(size.width(), s.width() - kTighterItem));
    return s;
}

}  // namespace app::window
