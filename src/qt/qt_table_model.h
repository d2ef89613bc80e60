#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include "platform/list_view.h"

namespace vistello {

// Presents a TableSource to Qt's item views. Cells are read as they are drawn; the model keeps
// only the row count it has announced, so Qt always sees counts that match its notifications.
class QtTableModel final : public QAbstractTableModel {
public:
    explicit QtTableModel(QObject* parent);

    void SetSource(TableSource* source);
    TableSource* Source() const { return m_source; }

    void InsertColumn(int index, const QString& header);
    void RowsInserted(int first, int count);
    void RowsRemoved(int first, int count);
    void RowsChanged(int first, int last);
    void RowsReset();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int SourceRows() const;

    TableSource* m_source = nullptr;
    QStringList m_headers;
    int m_rows = 0;
};

}  // namespace vistello
