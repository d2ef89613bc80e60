#pragma once

#include <QAbstractListModel>
#include <QStringList>

#include "framework/list_view.h"
#include "framework/pictures_window.h"

namespace vistello {

// The slides as tiles: each row's title from the rows' source, its picture and badge from the
// tiles' source, both read as they are drawn. The rows' source announces each change before and
// after it makes it, as it does to the list.
class QtTileModel final : public QAbstractListModel {
public:
    QtTileModel(TileSource& tiles, QObject* parent);

    void SetSource(TableSource* source);
    TableSource* Source() const { return m_source; }
    TileLook Look(int row) const { return m_tiles.Tile(row); }

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
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override;
    // A drag of tiles carries only that it comes from this grid: what it moves is the selection.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool IsOwnDrag(const QMimeData& data) const;

private:
    QByteArray DragOrigin() const;

    TileSource& m_tiles;
    TableSource* m_source = nullptr;
};

}  // namespace vistello
