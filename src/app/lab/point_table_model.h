#pragma once
// The lab's points as a table: a row per point, a column per quantity, headed
// by its symbol and unit, the numbers with a decimal comma; then the point's
// run and, for a flagged point (written in red), why it is flagged. Reads the session's
// record; rows are inserted as points come, so a long record costs nothing to
// show beyond the rows in view.
#include <QAbstractTableModel>

namespace app::lab {

class LabSession;

class PointTableModel : public QAbstractTableModel {
public:
    // The columns after the quantities.
    static constexpr int kRunColumn = 8;
    static constexpr int kNoteColumn = 9;
    static constexpr int kColumns = 10;

    PointTableModel(const LabSession& session, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const LabSession& session_;
};

}  // namespace app::lab
