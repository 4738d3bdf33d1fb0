#pragma once

#include <QHeaderView>

namespace app::lab {

// The numbers of the table's rows. Every row is as wide as the widest number
// there can be with as many digits as the last one: the header's width is
// then known without measuring the texts of its rows, which Qt would do again
// for a couple of hundred rows at every point added to an hour's record.
class RowNumberHeader : public QHeaderView {
public:
    explicit RowNumberHeader(QWidget* parent);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
    void changeEvent(QEvent* event) override;

private:
    mutable int digits_ = 0;
    mutable QSize size_;
};

}  // namespace app::lab
