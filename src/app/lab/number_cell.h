#pragma once

#include <QStyledItemDelegate>

namespace app::lab {

// A cell of the table of points: its number, right-aligned. Drawn straight
// with the painter: the style's general item drawing measures and lays out
// each text several times, and an hour's table following its newest row
// draws all the cells it shows at every point.
class NumberCell : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace app::lab
