#include "slides/entry_list.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

namespace vistello {

namespace {

const std::string kNoText;

// Bytes compare as unsigned char: the C runtime's multibyte order, which for UTF-8 is the order
// of the characters.
//
// A sort of a large album must not chase every entry for every comparison. Each row gets a key
// of eight of its bytes as a number, taken after the start that every text of the column shares
// ("Slide " in "Slide 1", "Slide 2" ...). The keys are sorted by those numbers, eight bits at a
// time, keeping the order of equal ones; only rows whose numbers are equal and whose texts go on
// past those bytes are then compared as text. That gives exactly the rows a stable sort of the
// texts gives, in time linear in the rows.
class ColumnOrder {
public:
    struct Key {
        uint64_t prefix;
        uint32_t row;
    };

    ColumnOrder(const std::deque<std::unique_ptr<ImageEntry>>& rows, int column) {
        CopyTexts(rows, column);
        m_shared = SharedStart();
        m_keys.reserve(rows.size());
        for (const std::string_view text : m_texts) {
            m_keys.push_back({PrefixAfter(text, m_shared), static_cast<uint32_t>(m_keys.size())});
        }
    }

    bool IsAscending() const {
        for (size_t i = 1; i < m_keys.size(); ++i) {
            if (Less(m_keys[i], m_keys[i - 1])) return false;
        }
        return true;
    }

    // The rows in ascending order, equal texts in the order they stood.
    std::vector<Key>& Sort() {
        RadixSort();
        SortTiesByText();
        return m_keys;
    }

private:
    bool Less(const Key& a, const Key& b) const {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        return m_texts[a.row] < m_texts[b.row];
    }

    // Once sorted, rows stand in memory in no order of their own, so each text is asked for a
    // few rows ahead of its turn; the copies then lie side by side for every later look.
    void CopyTexts(const std::deque<std::unique_ptr<ImageEntry>>& rows, int column) {
        constexpr size_t kAhead = 32;
        const size_t count = rows.size();
        std::vector<uint32_t> sizes(count);
        m_bytes.reserve(count * 16);
        for (size_t row = 0; row < count; ++row) {
            if (row + 2 * kAhead < count)
                __builtin_prefetch(&rows[row + 2 * kAhead]->Column(column));
            if (row + kAhead < count) __builtin_prefetch(rows[row + kAhead]->Column(column).data());
            const std::string& text = rows[row]->Column(column);
            m_bytes += text;
            sizes[row] = static_cast<uint32_t>(text.size());
        }
        m_texts.reserve(count);
        const char* data = m_bytes.data();
        for (const uint32_t size : sizes) {
            m_texts.emplace_back(data, size);
            data += size;
        }
    }

    size_t SharedStart() const {
        if (m_texts.empty()) return 0;
        const std::string_view first = m_texts.front();
        size_t shared = first.size();
        for (const std::string_view whole : m_texts) {
            const std::string_view text = whole.substr(0, shared);
            shared = static_cast<size_t>(
                std::mismatch(text.begin(), text.end(), first.begin()).first - text.begin());
        }
        return shared;
    }

    // Big-endian, so that numbers order as the bytes do; a shorter text is padded with zeros.
    static uint64_t PrefixAfter(std::string_view text, size_t start) {
        uint64_t prefix = 0;
        for (size_t i = 0; i < kPrefixBytes; ++i) {
            const size_t at = start + i;
            prefix = (prefix << 8) | (at < text.size() ? static_cast<unsigned char>(text[at]) : 0U);
        }
        return prefix;
    }

    // Least significant byte first, each pass stable; a byte that every key shares needs none.
    // Every byte is counted in one read of the keys, which for a large album do not fit in the
    // cache: each pass then reads and writes them once.
    void RadixSort() {
        std::array<std::array<size_t, 257>, kPrefixBytes> starts{};
        for (const Key& key : m_keys) {
            for (size_t byte = 0; byte < kPrefixBytes; ++byte)
                ++starts[byte][((key.prefix >> (8 * byte)) & 0xFF) + 1];
        }
        std::vector<Key> buffer(m_keys.size());
        for (size_t byte = 0; byte < kPrefixBytes; ++byte) {
            std::array<size_t, 257>& at = starts[byte];
            if (std::find(at.begin(), at.end(), m_keys.size()) != at.end()) continue;
            for (size_t value = 1; value < at.size(); ++value) at[value] += at[value - 1];
            const size_t shift = 8 * byte;
            for (const Key& key : m_keys) buffer[at[(key.prefix >> shift) & 0xFF]++] = key;
            m_keys.swap(buffer);
        }
    }

    // Texts of one length that end within their numbers are the same text, already in the order
    // they stood: many rows of a large album share a short text, and need no comparing.
    bool SameShortText(std::vector<Key>::const_iterator first,
                       std::vector<Key>::const_iterator last) const {
        const size_t size = m_texts[first->row].size();
        return size <= m_shared + kPrefixBytes && std::all_of(first, last, [&](const Key& key) {
                   return m_texts[key.row].size() == size;
               });
    }

    void SortTiesByText() {
        const auto byText = [this](const Key& a, const Key& b) {
            return m_texts[a.row] < m_texts[b.row];
        };
        for (auto run = m_keys.begin(); run != m_keys.end();) {
            const auto end = std::find_if(
                run, m_keys.end(), [&](const Key& key) { return key.prefix != run->prefix; });
            if (end - run > 1 && !SameShortText(run, end)) std::stable_sort(run, end, byText);
            run = end;
        }
    }

    static constexpr size_t kPrefixBytes = 8;

    std::string m_bytes;
    std::vector<std::string_view> m_texts;
    size_t m_shared = 0;
    std::vector<Key> m_keys;
};

}  // namespace

const std::string& EntryList::Cell(int row, int column) const {
    if (!HasRow(row) || column < 0 || column >= ImageEntry::kColumnCount) return kNoText;
    return Row(row).Column(column);
}

void EntryList::InsertTop(ImageEntry entry) {
    auto row = std::make_unique<ImageEntry>(std::move(entry));
    if (m_observer != nullptr) m_observer->BeginInsertRows(0, 1);
    m_rows.push_front(std::move(row));
    if (m_observer != nullptr) m_observer->EndInsertRows();
}

void EntryList::InsertTop(std::vector<ImageEntry> entries) { InsertAt(0, std::move(entries)); }

void EntryList::InsertTop(std::vector<std::unique_ptr<ImageEntry>> rows) {
    InsertRows(0, std::move(rows));
}

void EntryList::InsertAt(int at, std::vector<ImageEntry> entries) {
    std::vector<std::unique_ptr<ImageEntry>> rows;
    rows.reserve(entries.size());
    for (ImageEntry& entry : entries)
        rows.push_back(std::make_unique<ImageEntry>(std::move(entry)));
    InsertRows(std::clamp(at, 0, RowCount()), std::move(rows));
}

void EntryList::InsertRows(int at, std::vector<std::unique_ptr<ImageEntry>> rows) {
    if (rows.empty()) return;
    if (m_observer != nullptr) m_observer->BeginInsertRows(at, static_cast<int>(rows.size()));
    m_rows.insert(m_rows.begin() + at, std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    if (m_observer != nullptr) m_observer->EndInsertRows();
}

bool EntryList::SetRow(int row, ImageEntry entry) {
    if (!HasRow(row)) return false;
    *m_rows[static_cast<size_t>(row)] = std::move(entry);
    if (m_observer != nullptr) m_observer->RowsChanged(row, row);
    return true;
}

bool EntryList::DeleteRow(int row) {
    if (!HasRow(row)) return false;
    if (m_observer != nullptr) m_observer->BeginRemoveRows(row, 1);
    m_rows.erase(m_rows.begin() + row);
    if (m_observer != nullptr) m_observer->EndRemoveRows();
    return true;
}

// In row order, each once.
void EntryList::KeepExistingRows(std::vector<int>& rows) const {
    std::erase_if(rows, [this](int row) { return !HasRow(row); });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
}

// From the bottom up, so that the rows still to go keep their numbers.
void EntryList::DeleteRows(std::vector<int> rows) {
    KeepExistingRows(rows);
    while (!rows.empty()) {
        const int last = rows.back();
        int first = last;
        for (rows.pop_back(); !rows.empty() && rows.back() == first - 1; rows.pop_back())
            first = rows.back();
        DeleteRun(first, last);
    }
}

void EntryList::DeleteRun(int first, int last) {
    if (m_observer != nullptr) m_observer->BeginRemoveRows(first, last - first + 1);
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
    if (m_observer != nullptr) m_observer->EndRemoveRows();
}

// The rows above the place go down to it from the nearest on, those below come up to it from the
// nearest on, so that no move shifts a row still to move.
void EntryList::MoveRowsBefore(std::vector<int> rows, int before) {
    KeepExistingRows(rows);
    before = std::clamp(before, 0, RowCount());
    const auto split = std::lower_bound(rows.begin(), rows.end(), before);
    int place = before;
    for (auto row = split; row != rows.begin();) MoveRow(*--row, --place);
    place = before;
    for (auto row = split; row != rows.end(); ++row) MoveRow(*row, place++);
}

bool EntryList::MoveRow(int from, int to) {
    if (!HasRow(from) || !HasRow(to) || from == to) return false;
    if (m_observer != nullptr) m_observer->BeginMoveRow(from, to);
    // Shifting the rows between costs their number; taking the row out and putting it back
    // costs the rows between each place and the nearer end, which is less for a far move.
    const int last = RowCount() - 1;
    const auto row = [this](int index) { return m_rows.begin() + index; };
    if (std::abs(from - to) > std::min(from, last - from) + std::min(to, last - to)) {
        std::unique_ptr<ImageEntry> moving = std::move(*row(from));
        m_rows.erase(row(from));
        m_rows.insert(row(to), std::move(moving));
    } else if (from < to) {
        std::rotate(row(from), row(from + 1), row(to + 1));
    } else {
        std::rotate(row(to), row(from), row(from + 1));
    }
    if (m_observer != nullptr) m_observer->EndMoveRow();
    return true;
}

void EntryList::DeleteAll() {
    if (m_observer != nullptr) m_observer->BeginResetRows();
    m_rows.clear();
    if (m_observer != nullptr) m_observer->EndResetRows();
}

void EntryList::SortByColumn(int column) {
    if (column < 0 || column >= ImageEntry::kColumnCount) return;
    ColumnOrder order(m_rows, column);
    if (order.IsAscending()) {
        Reverse();
        return;
    }
    std::vector<std::unique_ptr<ImageEntry>> sorted;
    sorted.reserve(m_rows.size());
    for (const ColumnOrder::Key& key : order.Sort()) sorted.push_back(std::move(m_rows[key.row]));
    std::move(sorted.begin(), sorted.end(), m_rows.begin());
    RowsChanged();
}

void EntryList::SortByTakenAt(const std::vector<std::optional<TakenAt>>& takenAt) {
    if (takenAt.size() != m_rows.size()) return;
    std::vector<std::unique_ptr<ImageEntry>> sorted;
    sorted.reserve(takenAt.size());
    for (const size_t row : OldestFirst(takenAt)) sorted.push_back(std::move(m_rows[row]));
    std::move(sorted.begin(), sorted.end(), m_rows.begin());
    RowsChanged();
}

void EntryList::Reverse() {
    std::reverse(m_rows.begin(), m_rows.end());
    RowsChanged();
}

// Only the texts move; every row position keeps its own selection.
void EntryList::RowsChanged() {
    if (m_observer != nullptr && !m_rows.empty()) m_observer->RowsChanged(0, RowCount() - 1);
}

}  // namespace vistello
