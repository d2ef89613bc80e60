#include "ui/entry_list_view.h"

#include <algorithm>
#include <limits>

#include "framework/longest_cells.h"

namespace vistello {

namespace {

// The widest a column gets, however long its longest cell: a cell of megabytes must not make a
// column that no toolkit can draw.
constexpr int kMaxColumnWidth = std::numeric_limits<short>::max();

}  // namespace

EntryListView::EntryListView(EntryList& entries) : m_entries(entries) { m_entries.Observe(this); }

namespace {

void Follow(ListView& follower, const ListView& leader) {
    const std::vector<int> rows = leader.SelectedRows();
    const int mark = leader.SelectionMark();
    if (follower.SelectedRows() != rows || follower.SelectionMark() != mark)
        follower.SetSelection(rows, mark);
}

}  // namespace

EntryListView::~EntryListView() {
    m_entries.Observe(nullptr);
    Tell([](ListView& view) { view.SetSource(nullptr); });
}

void EntryListView::Attach(ListView* view) {
    if (view == m_view) return;
    if (m_view != nullptr) m_view->SetSource(nullptr);
    m_view = view;
    if (m_view != nullptr) m_view->SetSource(this);
}

void EntryListView::AttachGrid(ListView* grid) {
    if (grid == m_grid) return;
    if (m_grid != nullptr) m_grid->SetSource(nullptr);
    m_grid = grid;
    if (m_grid == nullptr) return;
    m_grid->SetSource(this);
    GridFollowsList();
}

void EntryListView::ViewClosed(ListView* view) {
    if (view == m_view) m_view = nullptr;
    if (view == m_grid) m_grid = nullptr;
}

int EntryListView::SelectionMark() const {
    return m_view != nullptr ? m_view->SelectionMark() : -1;
}

void EntryListView::ClearSelectionMark() { SetSelectionMark(-1); }

void EntryListView::SetSelectionMark(int row) {
    Tell([row](ListView& view) { view.SetSelectionMark(row); });
}

std::vector<int> EntryListView::SelectedRows() const {
    return m_view != nullptr ? m_view->SelectedRows() : std::vector<int>();
}

void EntryListView::ListFollowsGrid() {
    if (m_view != nullptr && m_grid != nullptr) Follow(*m_view, *m_grid);
}

void EntryListView::GridFollowsList() {
    if (m_view != nullptr && m_grid != nullptr) Follow(*m_grid, *m_view);
}

void EntryListView::SetupColumns() {
    if (m_view == nullptr) return;
    for (int column = 0; column < ImageEntry::kColumnCount; ++column) {
        m_view->InsertColumn(column, kColumnHeaders[static_cast<size_t>(column)]);
    }
    AutoSizeColumns();
}

void EntryListView::AutoSizeColumns() {
    if (m_view == nullptr) return;
    m_view->SetRedraw(false);
    const int columns = m_view->ColumnCount();
    for (int column = 0; column < columns; ++column) {
        const int content = m_view->FitColumn(column, FitMode::Content);
        const int header = m_view->FitColumn(column, FitMode::Header);
        m_view->SetColumnWidth(column, std::min(std::max(content, header), kMaxColumnWidth));
    }
    m_view->SetRedraw(true);
}

const std::string& EntryListView::Cell(int row, int column) const {
    return m_entries.Cell(row, column);
}

std::vector<int> EntryListView::LongestCells(int column, int limit) const {
    if (column < 0 || column >= ImageEntry::kColumnCount) return {};
    if (m_longest.empty() || m_longestLimit != limit) {
        vistello::LongestCells longest(ImageEntry::kColumnCount, limit);
        for (int row = 0; row < m_entries.RowCount(); ++row) {
            const ImageEntry& entry = m_entries.Row(row);
            for (int cell = 0; cell < ImageEntry::kColumnCount; ++cell)
                longest.Offer(cell, entry.Column(cell).size(), row);
        }
        m_longest = longest.Take();
        m_longestLimit = limit;
    }
    return m_longest[static_cast<size_t>(column)];
}

void EntryListView::BeginInsertRows(int first, int count) {
    m_longest.clear();
    Tell([&](ListView& view) { view.BeginInsertRows(first, count); });
}

void EntryListView::EndInsertRows() {
    Tell([](ListView& view) { view.EndInsertRows(); });
}

void EntryListView::BeginRemoveRows(int first, int count) {
    m_longest.clear();
    Tell([&](ListView& view) { view.BeginRemoveRows(first, count); });
}

void EntryListView::EndRemoveRows() {
    Tell([](ListView& view) { view.EndRemoveRows(); });
}

void EntryListView::BeginMoveRow(int from, int to) {
    KeepLongestCellsAcrossMove(from, to);
    Tell([&](ListView& view) { view.BeginMoveRow(from, to); });
}

void EntryListView::EndMoveRow() {
    Tell([](ListView& view) { view.EndMoveRow(); });
}

void EntryListView::BeginResetRows() {
    m_longest.clear();
    Tell([](ListView& view) { view.BeginResetRows(); });
}

void EntryListView::EndResetRows() {
    Tell([](ListView& view) { view.EndResetRows(); });
}

void EntryListView::RowsChanged(int first, int last) {
    m_longest.clear();
    Tell([&](ListView& view) { view.RowsChanged(first, last); });
}

// A move changes no text, so the longest cells stay the longest; only their rows are renumbered,
// and fitting after a move reads no row.
void EntryListView::KeepLongestCellsAcrossMove(int from, int to) {
    const int step = from < to ? -1 : 1;
    const int low = std::min(from, to);
    const int high = std::max(from, to);
    for (std::vector<int>& rows : m_longest) {
        for (int& row : rows) {
            if (row == from) {
                row = to;
            } else if (row >= low && row <= high) {
                row += step;
            }
        }
        std::sort(rows.begin(), rows.end());
    }
}

}  // namespace vistello
