#pragma once
// The lab's points as a table: a row per point, a column per quantity, headed
// by its symbol and unit, the numbers with a decimal comma. Reads the session's
// record; rows are inserted as points come, so a long record costs nothing to
// show beyond the rows in view.
#include <QAbstractTableModel>

namespace app::lab {

class LabSession;

class PointTableModel : public QAbstractTableModel {
public:
    PointTableModel(const LabSession& session, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const LabSession& session_;
};

}  // namespace app::lab
