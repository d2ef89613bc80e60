#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "framework/list_view.h"

namespace vistello::testing {

// A list view that measures widths in characters and lets a test place the selection mark as a
// click would. The mark follows its row as rows come and go, as the real control keeps it.
class FakeListView : public ListView {
public:
    FakeListView() = default;
    FakeListView(const FakeListView&) = delete;
    FakeListView& operator=(const FakeListView&) = delete;
    ~FakeListView() override {
        if (m_source != nullptr) m_source->ViewClosed();
    }

    void InsertColumn(int index, const std::string& header) override {
        m_headers.insert(m_headers.begin() + index, header);
        m_widths.insert(m_widths.begin() + index, 0);
    }
    int ColumnCount() const override { return static_cast<int>(m_headers.size()); }
    void SetSource(TableSource* source) override { m_source = source; }

    void BeginInsertRows(int first, int) override { Begin(first); }
    void EndInsertRows() override { End(); }
    void BeginRemoveRows(int first, int) override { Begin(first); }
    void EndRemoveRows() override { End(); }
    void BeginResetRows() override { Begin(0); }
    void EndResetRows() override {
        End();
        m_mark = -1;
    }
    void RowsChanged(int, int) override {}

    int SelectionMark() const override { return m_mark; }
    void SetSelectionMark(int row) override { m_mark = row; }

    int FitColumn(int column, FitMode mode) override {
        int width = static_cast<int>(m_headers.at(column).size());
        if (mode == FitMode::Content) {
            width = 0;
            for (const int row : m_source->LongestCells(column, 1))
                width = static_cast<int>(m_source->Cell(row, column).size());
        }
        return m_widths.at(column) = width;
    }
    void SetColumnWidth(int column, int width) override { m_widths.at(column) = width; }
    int ColumnWidth(int column) const override { return m_widths.at(column); }
    void SetRedraw(bool) override {}

    int RowCount() const { return m_source != nullptr ? m_source->RowCount() : 0; }
    std::string Cell(int row, int column) const { return m_source->Cell(row, column); }

private:
    void Begin(int first) {
        m_first = first;
        m_rowsBefore = RowCount();
    }
    void End() {
        const int added = RowCount() - m_rowsBefore;
        if (added < 0 && m_mark >= m_first && m_mark < m_first - added) {
            m_mark = -1;
        } else if (m_mark >= m_first) {
            m_mark += added;
        }
    }

    TableSource* m_source = nullptr;
    std::vector<std::string> m_headers;
    std::vector<int> m_widths;
    int m_mark = -1;
    int m_first = 0;
    int m_rowsBefore = 0;
};

}  // namespace vistello::testing
