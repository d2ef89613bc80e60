#include "support/fake_list_view.h"

#include <algorithm>
#include <stdexcept>

namespace vistello::testing {

void FakeListView::InsertColumn(int index, const std::string& header) {
    m_headers.insert(m_headers.begin() + index, header);
    m_widths.insert(m_widths.begin() + index, 0);
}

void FakeListView::BeginInsertRows(int first, int count) {
    if (count < 1 || first < 0 || first > RowCount()) throw std::logic_error("bad insert");
    Begin({RowChange::Kind::Insert, first, count});
}

void FakeListView::BeginRemoveRows(int first, int count) {
    if (count < 1 || first < 0 || first + count > RowCount()) throw std::logic_error("bad removal");
    Begin({RowChange::Kind::Remove, first, count});
}

void FakeListView::Begin(const RowChange& change) {
    if (m_open) throw std::logic_error("a row change began inside another");
    m_open = change;
    m_rowsBefore = RowCount();
}

void FakeListView::End(RowChange::Kind kind) {
    if (!m_open || m_open->kind != kind) throw std::logic_error("a row change ended unbegun");
    if (kind != RowChange::Kind::Reset) {
        const int delta = kind == RowChange::Kind::Insert ? m_open->count : -m_open->count;
        if (RowCount() != m_rowsBefore + delta) throw std::logic_error("rows differ from change");
    }
    MoveMark(*m_open);
    m_last = *m_open;
    m_open.reset();
    ++m_changes;
}

void FakeListView::RowsChanged(int first, int last) {
    if (m_open || first < 0 || first > last || last >= RowCount()) {
        throw std::logic_error("bad changed rows");
    }
}

// The selection stays on its entry as rows come and go, as the real control keeps it.
void FakeListView::MoveMark(const RowChange& change) {
    const int end = change.first + change.count;
    if (change.kind == RowChange::Kind::Reset) {
        m_mark = -1;
    } else if (change.kind == RowChange::Kind::Insert) {
        if (m_mark >= change.first) m_mark += change.count;
    } else if (m_mark >= end) {
        m_mark -= change.count;
    } else if (m_mark >= change.first) {
        m_mark = -1;
    }
}

int FakeListView::FitColumn(int column, FitMode mode) {
    int width = 0;
    if (mode == FitMode::Header) {
        width = static_cast<int>(m_headers[static_cast<size_t>(column)].size());
    } else {
        const int rows = RowCount();
        for (int row = 0; row < rows; ++row) {
            width = std::max(width, static_cast<int>(m_source->Cell(row, column).size()));
        }
    }
    m_widths[static_cast<size_t>(column)] = width;
    return width;
}

void FakeListView::SetColumnWidth(int column, int width) {
    m_widths[static_cast<size_t>(column)] = width;
}

int FakeListView::ColumnWidth(int column) const { return m_widths[static_cast<size_t>(column)]; }

std::string FakeListView::Cell(int row, int column) const { return m_source->Cell(row, column); }

}  // namespace vistello::testing
