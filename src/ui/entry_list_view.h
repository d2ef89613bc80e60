#pragma once

#include <string>
#include <vector>

#include "framework/list_view.h"
#include "slides/entry_list.h"

namespace vistello {

// The slides as the window's list shows them, and as the grid of the Pictures window shows them
// while it is open: each view draws from the entry list and is told of every change to it; the
// list holds the selection mark. Table and views always hold the same rows in the same order, and
// one selection.
class EntryListView : public TableSource, public EntryListObserver {
public:
    explicit EntryListView(EntryList& entries);
    ~EntryListView() override;
    EntryListView(const EntryListView&) = delete;
    EntryListView& operator=(const EntryListView&) = delete;

    // The view to show the rows in; nullptr for none.
    void Attach(ListView* view);
    ListView* View() const { return m_view; }
    // The grid to show the rows in as well, selecting what the list selects; nullptr for none.
    void AttachGrid(ListView* grid);

    // The row the user last selected, or -1.
    int SelectionMark() const;
    void ClearSelectionMark();
    void SetSelectionMark(int row);
    // The list's selected rows, in row order.
    std::vector<int> SelectedRows() const;
    // One selection takes the other's rows and mark, when they differ.
    void ListFollowsGrid();
    void GridFollowsList();

    void SetupColumns();
    void AutoSizeColumns();

    int RowCount() const override { return m_entries.RowCount(); }
    const std::string& Cell(int row, int column) const override;
    // Every column's longest cells are found in one pass and kept until the rows change, so
    // fitting all columns reads each row once.
    std::vector<int> LongestCells(int column, int limit) const override;
    void ViewClosed(ListView* view) override;

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

    // Tells each view what the list tells.
    template <typename Call>
    void Tell(Call call) {
        if (m_view != nullptr) call(*m_view);
        if (m_grid != nullptr) call(*m_grid);
    }

    EntryList& m_entries;
    ListView* m_view = nullptr;
    ListView* m_grid = nullptr;
    mutable std::vector<std::vector<int>> m_longest;
    mutable int m_longestLimit = 0;
};

}  // namespace vistello
