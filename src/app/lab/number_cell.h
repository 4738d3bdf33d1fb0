#pragma once

#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace app::lab {

// A cell of the table of points: its number, right-aligned. Drawn straight
// with the painter from a laid-out text kept for the next time: a table
// following its newest row draws every cell it shows again at every point,
// one row lower, and the style's general item drawing would measure and lay
// out each text several times over.
class NumberCell : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const QStaticText& laidOut(const QString& text, const QFont& font) const;

    mutable QHash<QString, QStaticText> texts_;
    mutable QFont font_;
};

}  // namespace app::lab
