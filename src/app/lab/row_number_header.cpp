#include "app/lab/row_number_header.h"

#include <QAbstractItemModel>
#include <QEvent>

namespace app::lab {

RowNumberHeader::RowNumberHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    setSectionResizeMode(QHeaderView::Fixed);
}

QSize RowNumberHeader::sectionSizeFromContents(int logicalIndex) const {
    int digits = 1;
    for (int rows = model() ? model()->rowCount(rootIndex()) : 0; rows >= 10; rows /= 10) ++digits;
    if (digits != digits_ || !size_.isValid()) {
        digits_ = digits;
        // The widest number of so many digits, measured as Qt measures a row's.
        size_ = QHeaderView::sectionSizeFromContents(logicalIndex);
        const QString widest(digits, QLatin1Char('0'));
        const QString own = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
        size_.rwidth() += fontMetrics().horizontalAdvance(widest) - fontMetrics().horizontalAdvance(own);
    }
    return size_;
}

void RowNumberHeader::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) size_ = QSize();
    QHeaderView::changeEvent(event);
}

}  // namespace app::lab
