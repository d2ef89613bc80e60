#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include "framework/list_view.h"

namespace vistello {

// Presents a TableSource to Qt's item views. Cells and the row count are read from the source as
// they are needed; the source announces each change before and after it makes it, which is when
// Qt expects to hear of it.
class QtTableModel final : public QAbstractTableModel {
public:
    explicit QtTableModel(QObject* parent);

    void SetSource(TableSource* source);
    TableSource* Source() const { return m_source; }

    void InsertColumn(int index, const QString& header);
    void BeginInsertRows(int first, int count);
    void EndInsertRows();
    void BeginRemoveRows(int first, int count);
    void EndRemoveRows();
    void BeginMoveRow(int from, int to);
    void EndMoveRow();
    void BeginResetRows();
    void EndResetRows();
    void RowsChanged(int first, int last);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override;
    // A drag of a row carries only which row of which table it is, never the row's texts.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    // The row a drag from this table carries, or -1 for any other drag.
    int DraggedRow(const QMimeData& data) const;

private:
    QByteArray DragOrigin() const;

    TableSource* m_source = nullptr;
    QStringList m_headers;
};

}  // namespace vistello
