#pragma once

#include <QPersistentModelIndex>
#include <QTableView>
#include <string>
#include <vector>

#include "framework/list_view.h"

namespace vistello {

class QtTableModel;

// A report-style list: one selectable whole row at a time, a clickable header that never sorts
// by itself, cells read from the table as they are drawn. A row dragged to another place is
// moved by the table, not copied by the view.
class QtListView final : public QTableView, public ListView {
    Q_OBJECT

public:
    explicit QtListView(QWidget* parent);
    ~QtListView() override;

    void InsertColumn(int index, const std::string& header) override;
    int ColumnCount() const override;
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

    int FitColumn(int column, FitMode mode) override;
    void SetColumnWidth(int column, int width) override;
    int ColumnWidth(int column) const override;
    void SetRedraw(bool on) override;

signals:
    // A left click released anywhere in the rows area, empty space included.
    void rowsAreaClicked();
    // The user selected other rows, by mouse or keys.
    void selectionMoved();
    void headerClicked(int column);
    // The user dragged row from to stand at row to.
    void rowDragged(int from, int to);
    // A row was double-clicked, told once the second click is released.
    void rowDoubleClicked(int row);
    // Files dragged from the desktop were dropped on the rows, handed on once the drop is over.
    void filesDropped(const std::vector<std::string>& paths);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void SetupLook();
    void RememberSelected(const QItemSelection& selected);
    int FitToContent(int column);
    int FitToHeader(int column);
    int RoomForLastColumn(int column);
    int DropRow(QPoint position) const;

    QtTableModel* m_model;
    QPersistentModelIndex m_mark;
    // The selection is being set for the program, not by the user.
    bool m_settingSelection = false;
    bool m_releaseEndsDoubleClick = false;
    int m_doubleClickedRow = -1;
};

}  // namespace vistello
