#pragma once

#include <string>
#include <vector>

namespace vistello {

class ListView;

// The rows a list view shows. The view never copies them; it asks for cells as it draws.
class TableSource {
public:
    virtual ~TableSource() = default;
    virtual int RowCount() const = 0;
    virtual const std::string& Cell(int row, int column) const = 0;
    // The rows whose text in the column is longest, at most limit of them, in row order: the
    // cells a view measures to fit the column to its content.
    virtual std::vector<int> LongestCells(int column, int limit) const = 0;
    // A view that showed these rows is being destroyed; it must not be told of changes again.
    virtual void ViewClosed(ListView* view) = 0;
};

enum class FitMode { Content, Header };

// A report-style list control. The table owns the rows; the view is told of every change so the
// two always hold the same rows in the same order.
//
// Rows that come or go are announced twice: Begin while the source still holds the old rows, End
// once it holds the new ones, so a view can keep whatever it attaches to rows in step. One change
// is open at a time, and an insert or a removal covers at least one row. A move is
// announced the same way, so whatever the view attaches to the row moves with it.
class ListView {
public:
    virtual ~ListView() = default;

    virtual void InsertColumn(int index, const std::string& header) = 0;
    virtual int ColumnCount() const = 0;
    virtual void SetSource(TableSource* source) = 0;

    virtual void BeginInsertRows(int first, int count) = 0;
    virtual void EndInsertRows() = 0;
    virtual void BeginRemoveRows(int first, int count) = 0;
    virtual void EndRemoveRows() = 0;
    // Row `from` is taken out and put back so that it stands at `to`; the rows between shift by
    // one toward the place it left.
    virtual void BeginMoveRow(int from, int to) = 0;
    virtual void EndMoveRow() = 0;
    // Every row may be different afterwards, and their number too.
    virtual void BeginResetRows() = 0;
    virtual void EndResetRows() = 0;
    // Told after the fact: rows first to last stay where they are but show other texts.
    virtual void RowsChanged(int first, int last) = 0;

    // The row the user last selected, or -1.
    virtual int SelectionMark() const = 0;
    // Selects that row alone and marks it; -1 selects none.
    virtual void SetSelectionMark(int row) = 0;
    // Every selected row, in row order. The mark may be among them or not: a click on empty space
    // leaves the mark where it was.
    virtual std::vector<int> SelectedRows() const = 0;
    // Selects exactly these rows, in row order, and marks one; nothing scrolls unless the mark
    // changes, and the user is not told of it as of a selection of their own.
    virtual void SetSelection(const std::vector<int>& rows, int mark) = 0;

    // Sets the column to its automatic width and returns that width in pixels.
    virtual int FitColumn(int column, FitMode mode) = 0;
    virtual void SetColumnWidth(int column, int width) = 0;
    virtual int ColumnWidth(int column) const = 0;
    virtual void SetRedraw(bool on) = 0;
};

}  // namespace vistello
