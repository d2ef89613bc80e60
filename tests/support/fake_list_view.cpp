#include "support/fake_list_view.h"

#include <algorithm>

namespace vistello::testing {

void FakeListView::InsertColumn(int index, const std::string& header) {
    m_headers.insert(m_headers.begin() + index, header);
    m_widths.insert(m_widths.begin() + index, 0);
}

// The selection stays on its entry as rows come and go, as the real control keeps it.
void FakeListView::RowsInserted(int first, int count) {
    if (m_mark >= first) m_mark += count;
}

void FakeListView::RowsRemoved(int first, int count) {
    if (m_mark >= first + count) {
        m_mark -= count;
    } else if (m_mark >= first) {
        m_mark = -1;
    }
}

int FakeListView::FitColumn(int column, FitMode mode) {
    int width = 0;
    if (mode == FitMode::Header) {
        width = static_cast<int>(m_headers[static_cast<size_t>(column)].size());
    } else {
        for (int row = 0; row < RowCount(); ++row) {
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
