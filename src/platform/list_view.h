#pragma once

#include <string>

namespace vistello {

// The rows a list view shows. The view never copies them; it asks for cells as it draws.
class TableSource {
public:
    virtual ~TableSource() = default;
    virtual int RowCount() const = 0;
    virtual const std::string& Cell(int row, int column) const = 0;
    // The view that showed these rows is being destroyed; it must not be told of changes again.
    virtual void ViewClosed() {}
};

enum class FitMode { Content, Header };

// A report-style list control. The table owns the rows; the view is told of every change so the
// two always hold the same rows in the same order.
class ListView {
public:
    virtual ~ListView() = default;

    virtual void InsertColumn(int index, const std::string& header) = 0;
    virtual int ColumnCount() const = 0;
    virtual void SetSource(TableSource* source) = 0;

    virtual void RowsInserted(int first, int count) = 0;
    virtual void RowsRemoved(int first, int count) = 0;
    virtual void RowsChanged(int first, int last) = 0;
    virtual void RowsReset() = 0;

    // The row the user last selected, or -1.
    virtual int SelectionMark() const = 0;
    virtual void SetSelectionMark(int row) = 0;

    // Sets the column to its automatic width and returns that width in pixels.
    virtual int FitColumn(int column, FitMode mode) = 0;
    virtual void SetColumnWidth(int column, int width) = 0;
    virtual int ColumnWidth(int column) const = 0;
    virtual void SetRedraw(bool on) = 0;
};

}  // namespace vistello
