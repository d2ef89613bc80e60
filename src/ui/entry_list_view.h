#pragma once

#include <string>
#include <vector>

#include "framework/list_view.h"
#include "slides/entry_list.h"

namespace vistello {

// The slides as the window's list shows them: the list view draws from the entry list, is told of
// every change to it, and holds the selection mark. Table and view always hold the same rows in
// the same order.
class EntryListView : public TableSource, public EntryListObserver {
public:
    explicit EntryListView(EntryList& entries);
    ~EntryListView() override;
    EntryListView(const EntryListView&) = delete;
    EntryListView& operator=(const EntryListView&) = delete;

    // The view to show the rows in; nullptr for none.
    void Attach(ListView* view);
    ListView* View() const { return m_view; }

    // The row the user last selected, or -1.
    int SelectionMark() const;
    void ClearSelectionMark();
    void SetSelectionMark(int row);

    void SetupColumns();
    void AutoSizeColumns();

    int RowCount() const override { return m_entries.RowCount(); }
    const std::string& Cell(int row, int column) const override;
    // Every column's longest cells are found in one pass and kept until the rows change, so
    // fitting all columns reads each row once.
    std::vector<int> LongestCells(int column, int limit) const override;
    void ViewClosed() override { m_view = nullptr; }

    void BeginInsertRows(int first, int count) override;
    void EndInsertRows() override;
    void BeginRemoveRows(int first, int count) override;
    void EndRemoveRows() override;
    void BeginMoveRow(int from, int to) override;
    void EndMoveRow() override;
    void BeginResetRows() override;
    void EndResetRows() override;
    void RowsChanged(int first, int last) override;

private:
    void KeepLongestCellsAcrossMove(int from, int to);

    EntryList& m_entries;
    ListView* m_view = nullptr;
    mutable std::vector<std::vector<int>> m_longest;
    mutable int m_longestLimit = 0;
};

}  // namespace vistello
