#include "slides/entry_list.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

namespace vistello {

namespace {

const std::string kNoText;

// The widest a column gets, however long its longest cell: a cell of megabytes must not make a
// column that no toolkit can draw.
constexpr int kMaxColumnWidth = std::numeric_limits<short>::max();

// One column's texts copied side by side, so that sorting a large album compares bytes that sit
// together in memory instead of chasing every entry.
class ColumnKeys {
public:
    struct Key {
        const char* data;
        uint32_t size;
        uint32_t row;

        std::string_view Text() const { return {data, size}; }
    };

    ColumnKeys(const std::deque<std::unique_ptr<ImageEntry>>& rows, int column) {
        std::vector<uint32_t> sizes;
        sizes.reserve(rows.size());
        for (const auto& entry : rows) {
            const std::string& text = entry->Column(column);
            m_bytes += text;
            sizes.push_back(static_cast<uint32_t>(text.size()));
        }
        m_keys.reserve(rows.size());
        const char* data = m_bytes.data();
        for (uint32_t size : sizes) {
            m_keys.push_back({data, size, static_cast<uint32_t>(m_keys.size())});
            data += size;
        }
    }

    // Bytes compare as unsigned char: the C runtime's multibyte order, which for UTF-8 is the
    // order of the characters.
    static bool Less(const Key& a, const Key& b) { return a.Text() < b.Text(); }

    std::vector<Key>& Keys() { return m_keys; }

private:
    std::string m_bytes;
    std::vector<Key> m_keys;
};

}  // namespace

EntryList::~EntryList() {
    if (m_view != nullptr) m_view->SetSource(nullptr);
}

void EntryList::Attach(ListView* view) {
    if (view == m_view) return;
    if (m_view != nullptr) m_view->SetSource(nullptr);
    m_view = view;
    if (m_view != nullptr) m_view->SetSource(this);
}

const std::string& EntryList::Cell(int row, int column) const {
    if (!HasRow(row) || column < 0 || column >= ImageEntry::kColumnCount) return kNoText;
    return Row(row).Column(column);
}

void EntryList::InsertTop(ImageEntry entry) {
    auto row = std::make_unique<ImageEntry>(std::move(entry));
    if (m_view != nullptr) m_view->BeginInsertRows(0, 1);
    m_rows.push_front(std::move(row));
    if (m_view != nullptr) m_view->EndInsertRows();
}

void EntryList::InsertTop(std::vector<ImageEntry> entries) {
    std::vector<std::unique_ptr<ImageEntry>> rows;
    rows.reserve(entries.size());
    for (ImageEntry& entry : entries) {
        rows.push_back(std::make_unique<ImageEntry>(std::move(entry)));
    }
    InsertTop(std::move(rows));
}

void EntryList::InsertTop(std::vector<std::unique_ptr<ImageEntry>> rows) {
    if (rows.empty()) return;
    if (m_view != nullptr) m_view->BeginInsertRows(0, static_cast<int>(rows.size()));
    m_rows.insert(m_rows.begin(), std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    if (m_view != nullptr) m_view->EndInsertRows();
}

bool EntryList::SetRow(int row, ImageEntry entry) {
    if (!HasRow(row)) return false;
    *m_rows[static_cast<size_t>(row)] = std::move(entry);
    if (m_view != nullptr) m_view->RowsChanged(row, row);
    return true;
}

bool EntryList::DeleteRow(int row) {
    if (!HasRow(row)) return false;
    if (m_view != nullptr) m_view->BeginRemoveRows(row, 1);
    m_rows.erase(m_rows.begin() + row);
    if (m_view != nullptr) m_view->EndRemoveRows();
    return true;
}

void EntryList::DeleteAll() {
    if (m_view != nullptr) m_view->BeginResetRows();
    m_rows.clear();
    if (m_view != nullptr) m_view->EndResetRows();
}

int EntryList::SelectionMark() const { return m_view != nullptr ? m_view->SelectionMark() : -1; }

void EntryList::ClearSelectionMark() {
    if (m_view != nullptr) m_view->SetSelectionMark(-1);
}

void EntryList::SetupColumns() {
    if (m_view == nullptr) return;
    for (int column = 0; column < ImageEntry::kColumnCount; ++column) {
        m_view->InsertColumn(column, kColumnHeaders[static_cast<size_t>(column)]);
    }
    AutoSizeColumns();
}

void EntryList::AutoSizeColumns() {
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

void EntryList::SortByColumn(int column) {
    if (column < 0 || column >= ImageEntry::kColumnCount) return;
    ColumnKeys columnKeys(m_rows, column);
    std::vector<ColumnKeys::Key>& keys = columnKeys.Keys();
    const auto less = ColumnKeys::Less;
    if (std::is_sorted(keys.begin(), keys.end(), less)) {
        Reverse();
        return;
    }
    std::stable_sort(keys.begin(), keys.end(), less);
    std::vector<std::unique_ptr<ImageEntry>> sorted;
    sorted.reserve(keys.size());
    for (const ColumnKeys::Key& key : keys) sorted.push_back(std::move(m_rows[key.row]));
    std::move(sorted.begin(), sorted.end(), m_rows.begin());
    RowsChanged();
}

void EntryList::Reverse() {
    std::reverse(m_rows.begin(), m_rows.end());
    RowsChanged();
}

// Only the texts move; every row position keeps its own selection.
void EntryList::RowsChanged() {
    if (m_view != nullptr && !m_rows.empty()) m_view->RowsChanged(0, RowCount() - 1);
}

}  // namespace vistello
