#pragma once

#include <string>
#include <vector>

#include "platform/list_view.h"

namespace vistello::testing {

// A list view that measures widths in characters and lets a test place the selection mark as a
// click would.
class FakeListView : public ListView {
public:
    FakeListView() = default;
    FakeListView(const FakeListView&) = delete;
    FakeListView& operator=(const FakeListView&) = delete;
    ~FakeListView() override {
        if (m_source != nullptr) m_source->ViewClosed();
    }

    void InsertColumn(int index, const std::string& header) override;
    int ColumnCount() const override { return static_cast<int>(m_headers.size()); }
    void SetSource(TableSource* source) override { m_source = source; }

    void RowsInserted(int first, int count) override;
    void RowsRemoved(int first, int count) override;
    void RowsChanged(int, int) override {}
    void RowsReset() override { m_mark = -1; }

    int SelectionMark() const override { return m_mark; }
    void SetSelectionMark(int row) override { m_mark = row; }

    int FitColumn(int column, FitMode mode) override;
    void SetColumnWidth(int column, int width) override;
    int ColumnWidth(int column) const override;
    void SetRedraw(bool) override {}

    int RowCount() const { return m_source != nullptr ? m_source->RowCount() : 0; }
    std::string Cell(int row, int column) const;
    const std::vector<std::string>& Headers() const { return m_headers; }

private:
    TableSource* m_source = nullptr;
    std::vector<std::string> m_headers;
    std::vector<int> m_widths;
    int m_mark = -1;
};

}  // namespace vistello::testing
