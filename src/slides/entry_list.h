#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "framework/list_view.h"
#include "slides/image_entry.h"

namespace vistello {

// The ordered slides, row 0 at the top, mirrored into the list view on every change. New rows
// only ever arrive at the top, so a deque keeps that O(1) for albums of any size; rows are held
// by pointer so that sorting a large album, or moving a slide far, moves pointers, not whole
// entries.
class EntryList : public TableSource {
public:
    EntryList() = default;
    EntryList(const EntryList&) = delete;
    EntryList& operator=(const EntryList&) = delete;
    ~EntryList() override;

    void Attach(ListView* view);
    ListView* View() const { return m_view; }

    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    const std::string& Cell(int row, int column) const override;
    void ViewClosed() override { m_view = nullptr; }
    // Every column's longest cells are found in one pass and kept until the rows change, so
    // fitting all columns reads each row once.
    std::vector<int> LongestCells(int column, int limit) const override;
    bool HasRow(int row) const { return row >= 0 && row < RowCount(); }
    const ImageEntry& Row(int row) const { return *m_rows[static_cast<size_t>(row)]; }

    void InsertTop(ImageEntry entry);
    // The first entry becomes row 0 and the rest follow it in order, above the rows already there.
    void InsertTop(std::vector<ImageEntry> entries);
    void InsertTop(std::vector<std::unique_ptr<ImageEntry>> rows);
    // A row that does not exist is refused, as the list control refuses it.
    bool SetRow(int row, ImageEntry entry);
    bool DeleteRow(int row);
    // Row `from` comes to stand at `to`, the rows between shifting by one; refused unless both
    // rows exist and differ.
    bool MoveRow(int from, int to);
    void DeleteAll();

    // The row the user last selected, or -1.
    int SelectionMark() const;
    void ClearSelectionMark();

    void SetupColumns();
    void AutoSizeColumns();

    // Ascending by the column's bytes, stable; when already ascending, reversed instead.
    void SortByColumn(int column);
    void Reverse();

private:
    void RowsChanged();
    void KeepLongestCellsAcrossMove(int from, int to);

    std::deque<std::unique_ptr<ImageEntry>> m_rows;
    ListView* m_view = nullptr;
    mutable std::vector<std::vector<int>> m_longest;
    mutable int m_longestLimit = 0;
};

}  // namespace vistello
