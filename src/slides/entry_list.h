#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/date_taken.h"
#include "slides/image_entry.h"

namespace vistello {

// Told of every change to an EntryList. Rows that come, go or move are announced twice: Begin
// while the list still holds the old rows, End once it holds the new ones, so that whatever is
// kept beside the rows stays in step. One change is open at a time, and an insert or a removal
// covers at least one row.
class EntryListObserver {
public:
    virtual ~EntryListObserver() = default;
    virtual void BeginInsertRows(int first, int count) = 0;
    virtual void EndInsertRows() = 0;
    virtual void BeginRemoveRows(int first, int count) = 0;
    virtual void EndRemoveRows() = 0;
    // Row `from` is taken out and put back so that it stands at `to`.
    virtual void BeginMoveRow(int from, int to) = 0;
    virtual void EndMoveRow() = 0;
    // Every row may be different afterwards, and their number too.
    virtual void BeginResetRows() = 0;
    virtual void EndResetRows() = 0;
    // Told after the fact: rows first to last stay where they are but hold other texts.
    virtual void RowsChanged(int first, int last) = 0;
};

// The ordered slides, row 0 at the top. New rows only ever arrive at the top, so a deque keeps
// that O(1) for albums of any size; rows are held by pointer so that sorting a large album, or
// moving a slide far, moves pointers, not whole entries.
class EntryList {
public:
    EntryList() = default;
    EntryList(const EntryList&) = delete;
    EntryList& operator=(const EntryList&) = delete;

    // One observer at a time; nullptr for none.
    void Observe(EntryListObserver* observer) { m_observer = observer; }

    int RowCount() const { return static_cast<int>(m_rows.size()); }
    // Empty for a row or column that does not exist.
    const std::string& Cell(int row, int column) const;
    bool HasRow(int row) const { return row >= 0 && row < RowCount(); }
    const ImageEntry& Row(int row) const { return *m_rows[static_cast<size_t>(row)]; }

    void InsertTop(ImageEntry entry);
    // The first entry becomes row 0 and the rest follow it in order, above the rows already there.
    void InsertTop(std::vector<ImageEntry> entries);
    void InsertTop(std::vector<std::unique_ptr<ImageEntry>> rows);
    // The entries in order from row `at` on, above the row that stood there; the end for a row
    // past the last.
    void InsertAt(int at, std::vector<ImageEntry> entries);
    // A row that does not exist is refused, as the list control refuses it.
    bool SetRow(int row, ImageEntry entry);
    bool DeleteRow(int row);
    // Rows that do not exist are passed over; each run of neighbours goes in one change.
    void DeleteRows(std::vector<int> rows);
    // Row `from` comes to stand at `to`, the rows between shifting by one; refused unless both
    // rows exist and differ.
    bool MoveRow(int from, int to);
    // The rows, in their order, come to stand together just above row `before` (below the last
    // row for the row count); the other rows keep theirs. Each row moves as MoveRow moves it.
    void MoveRowsBefore(std::vector<int> rows, int before);
    void DeleteAll();

    // Ascending by the column's bytes, stable; when already ascending, reversed instead.
    void SortByColumn(int column);
    // In the order OldestFirst gives, takenAt[row] for each row.
    void SortByTakenAt(const std::vector<std::optional<TakenAt>>& takenAt);
    void Reverse();

private:
    void InsertRows(int at, std::vector<std::unique_ptr<ImageEntry>> rows);
    void DeleteRun(int first, int last);
    void KeepExistingRows(std::vector<int>& rows) const;
    void RowsChanged();

    std::deque<std::unique_ptr<ImageEntry>> m_rows;
    EntryListObserver* m_observer = nullptr;
};

}  // namespace vistello
