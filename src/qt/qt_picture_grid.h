#pragma once

#include <QListView>
#include <QPersistentModelIndex>
#include <QTimer>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/list_view.h"
#include "framework/pictures_window.h"

namespace vistello {

class QtTileModel;
class TileDelegate;
class TilePictures;

// The slides as a grid of tiles in the show's order, a view of the same rows as the list: no
// widget per tile, tiles drawn as they come into sight, their pictures asked for those in sight
// first. Several tiles may be selected. Tiles dragged elsewhere are moved by the rows' owner, not
// by the view; the keys that change the rows are handed on.
class QtPictureGrid final : public QListView, public ListView {
    Q_OBJECT

public:
    QtPictureGrid(TileSource& tiles, TilePictures& pictures, QWidget* parent);
    ~QtPictureGrid() override;

    void SetTileSize(int side);
    int TileSize() const;

    void InsertColumn(int, const std::string&) override {}
    int ColumnCount() const override { return 1; }
    void SetSource(TableSource* source) override;
    void BeginInsertRows(int first, int count) override;
    void EndInsertRows() override;
    void BeginRemoveRows(int first, int count) override;
    void EndRemoveRows() override;
    void BeginMoveRow(int from, int to) override;
    void EndMoveRow() override;
    void BeginResetRows() override;
    void EndResetRows() override;
    void RowsChanged(int first, int last) override;
    int SelectionMark() const override;
    void SetSelectionMark(int row) override;
    std::vector<int> SelectedRows() const override;
    void SetSelection(const std::vector<int>& rows, int mark) override;
    int FitColumn(int, FitMode) override { return 0; }
    void SetColumnWidth(int, int) override {}
    int ColumnWidth(int) const override { return 0; }
    void SetRedraw(bool on) override;

signals:
    // The user selected other tiles, by mouse or keys.
    void selectionMoved();
    void tileDoubleClicked(int row);
    void keyHandedOn(ItemKey key);
    // The selected tiles were dropped before the tile `before` (the row count for the end).
    void tilesDragged(int before);
    // Files dragged from the desktop were dropped before the tile `before`.
    void filesDropped(const std::vector<std::string>& paths, int before);
    // Ctrl with the wheel: so many steps larger, or smaller when negative.
    void zoomAsked(int steps);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetupLook();
    void UserSelected(const QItemSelection& selected);
    bool AcceptsDrag(const QMimeData& carried) const;
    int DropPlace(QPoint position) const;
    QRect DropLine(int place) const;
    void TellShowingSoon();
    void TellShowing();

    TileSource& m_tiles;
    QtTileModel* m_model;
    TileDelegate* m_delegate;
    QPersistentModelIndex m_mark;
    bool m_settingSelection = false;
    // The place a drag would drop at, drawn as a line; -1 while nothing is dragged over.
    int m_dropPlace = -1;
    QTimer m_showing;
};

}  // namespace vistello
