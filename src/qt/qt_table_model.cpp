#include "qt/qt_table_model.h"

#include "qt/qstring_bytes.h"

namespace vistello {

QtTableModel::QtTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void QtTableModel::SetSource(TableSource* source) {
    beginResetModel();
    m_source = source;
    endResetModel();
}

void QtTableModel::InsertColumn(int index, const QString& header) {
    beginInsertColumns(QModelIndex(), index, index);
    m_headers.insert(index, header);
    endInsertColumns();
}

void QtTableModel::BeginInsertRows(int first, int count) {
    beginInsertRows(QModelIndex(), first, first + count - 1);
}

void QtTableModel::EndInsertRows() { endInsertRows(); }

void QtTableModel::BeginRemoveRows(int first, int count) {
    beginRemoveRows(QModelIndex(), first, first + count - 1);
}

void QtTableModel::EndRemoveRows() { endRemoveRows(); }

void QtTableModel::BeginResetRows() { beginResetModel(); }

void QtTableModel::EndResetRows() { endResetModel(); }

// Rows keep their positions: a selected position stays selected whatever entry moves into it.
void QtTableModel::RowsChanged(int first, int last) {
    if (m_headers.isEmpty() || first > last) return;
    emit dataChanged(index(first, 0), index(last, static_cast<int>(m_headers.size()) - 1),
                     {Qt::DisplayRole});
}

int QtTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || m_source == nullptr ? 0 : m_source->RowCount();
}

int QtTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant QtTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || m_source == nullptr || !index.isValid()) return {};
    return ToQString(m_source->Cell(index.row(), index.column()));
}

QVariant QtTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headers.size()) return {};
    if (role == Qt::DisplayRole) return m_headers[section];
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags QtTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace vistello
