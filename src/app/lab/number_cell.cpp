#include "app/lab/number_cell.h"

#include <QPainter>

namespace app::lab {

void NumberCell::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const int margin = option.fontMetrics.horizontalAdvance(QLatin1Char(' ')) / 2 + 2;
    painter->drawText(option.rect.adjusted(margin, 0, -margin, 0), Qt::AlignRight | Qt::AlignVCenter,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

}  // namespace app::lab
