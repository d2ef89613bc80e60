#include "qt/qt_table_model.h"

#include <QCoreApplication>
#include <QMimeData>

#include "qt/qstring_bytes.h"

namespace vistello {

namespace {

const QString kRowFormat = QStringLiteral("application/x-vistello-row");

}  // namespace

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

// Qt counts the destination as the row the moved one goes before, among the rows as they stand.
void QtTableModel::BeginMoveRow(int from, int to) {
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
}

void QtTableModel::EndMoveRow() { endMoveRows(); }

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

// Rows are dropped between rows, never onto one.
Qt::ItemFlags QtTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

Qt::DropActions QtTableModel::supportedDropActions() const { return Qt::MoveAction; }

QStringList QtTableModel::mimeTypes() const { return {kRowFormat}; }

QMimeData* QtTableModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    data->setData(kRowFormat, DragOrigin() + QByteArray::number(indexes.first().row()));
    return data;
}

int QtTableModel::DraggedRow(const QMimeData& data) const {
    const QByteArray origin = DragOrigin();
    const QByteArray carried = data.data(kRowFormat);
    if (!carried.startsWith(origin)) return -1;
    bool ok = false;
    const int row = carried.mid(origin.size()).toInt(&ok);
    return ok && row >= 0 && row < rowCount() ? row : -1;
}

// Another window or another program may carry the same format; only this table's own drags
// name this process and this table.
QByteArray QtTableModel::DragOrigin() const {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(this)) + ':';
}

}  // namespace vistello
