#include "app/lab/point_table_model.h"

#include "app/lab/lab_session.h"

#include <QColor>
#include <QLocale>
#include <cmath>

namespace app::lab {

PointTableModel::PointTableModel(const LabSession& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session) {
    connect(&session, &LabSession::aboutToAddPoint, this, [this] {
        const int row = rowCount();
        beginInsertRows({}, row, row);
    });
    connect(&session, &LabSession::pointAdded, this, [this] { endInsertRows(); });
    connect(&session, &LabSession::recordEdited, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&session, &LabSession::runsChanged, this, [this] {
        if (rowCount() > 0) emit dataChanged(index(0, kRunColumn), index(rowCount() - 1, kRunColumn));
    });
}

int PointTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(session_.record().size());
}

int PointTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant PointTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const ::lab::PointRecord& record = session_.record();
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ForegroundRole) return record.flagged(row) ? QVariant(QColor(190, 0, 0)) : QVariant();
    if (role != Qt::DisplayRole) return {};
    if (index.column() == kRunColumn) {
        const ::lab::Run* run = record.run(record.runOf(row));
        return run != nullptr ? ::lab::runTitle(*run) : QString();
    }
    if (index.column() == kNoteColumn)
        return record.overload(row) ? QStringLiteral("přebuzeno") : !record.settled(row) ? QStringLiteral("neustáleno")
                                                                                         : QString();
    const ::lab::Quantity q = ::lab::kQuantities[static_cast<std::size_t>(index.column())];
    return ::lab::cellText(session_.record().value(static_cast<std::size_t>(index.row()), q), q);
}

QVariant PointTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= columnCount()) return {};
    if (section == kRunColumn) return QStringLiteral("běh");
    if (section == kNoteColumn) return QStringLiteral("pozn.");
    return ::lab::headerOf(::lab::kQuantities[static_cast<std::size_t>(section)]);
}

}  // namespace app::lab
