#include "app/lab/number_cell.h"

#include <QPainter>

namespace app::lab {

namespace {
// Enough for the rows of a tall window many times over.
constexpr qsizetype kKeptTexts = 4096;
}  // namespace

const QStaticText& NumberCell::laidOut(const QString& text, const QFont& font) const {
    if (font != font_ || texts_.size() >= kKeptTexts) {
        texts_.clear();
        font_ = font;
    }
    auto it = texts_.find(text);
    if (it == texts_.end()) {
        it = texts_.insert(text, QStaticText(text));
        it->setTextFormat(Qt::PlainText);
        it->setPerformanceHint(QStaticText::AggressiveCaching);
        it->prepare(QTransform(), font);
    }
    return *it;
}

void NumberCell::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
    painter->save();
    painter->setFont(option.font);
    // A flagged point's row is written in its own colour (the model's).
    const QVariant colour = index.data(Qt::ForegroundRole);
    painter->setPen(selected || !colour.isValid() ? option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text)
                                                   : colour.value<QColor>());
    painter->setClipRect(option.rect, Qt::IntersectClip);
    const QStaticText& text = laidOut(index.data(Qt::DisplayRole).toString(), option.font);
    const int margin = option.fontMetrics.horizontalAdvance(QLatin1Char(' ')) / 2 + 2;
    const QSizeF size = text.size();
    const QPointF topLeft(option.rect.right() + 1 - margin - size.width(),
                          option.rect.top() + (option.rect.height() - size.height()) / 2);
    painter->drawStaticText(topLeft, text);
    painter->restore();
}

}  // namespace app::lab
