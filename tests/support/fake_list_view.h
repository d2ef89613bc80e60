#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/list_view.h"

namespace vistello::testing {

// A row change as the view was told of it: what, where, and how many rows.
struct RowChange {
    enum class Kind { Insert, Remove, Reset };
    Kind kind = Kind::Reset;
    int first = 0;
    int count = 0;
};

// A list view that measures widths in characters and lets a test place the selection mark as a
// click would. It holds the table to the announcement rules: a Begin without its End, or a source
// whose row count does not match what was announced, throws std::logic_error.
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

    void BeginInsertRows(int first, int count) override;
    void EndInsertRows() override { End(RowChange::Kind::Insert); }
    void BeginRemoveRows(int first, int count) override;
    void EndRemoveRows() override { End(RowChange::Kind::Remove); }
    void BeginResetRows() override { Begin({RowChange::Kind::Reset, 0, RowCount()}); }
    void EndResetRows() override { End(RowChange::Kind::Reset); }
    void RowsChanged(int first, int last) override;

    int SelectionMark() const override { return m_mark; }
    void SetSelectionMark(int row) override { m_mark = row; }

    int FitColumn(int column, FitMode mode) override;
    void SetColumnWidth(int column, int width) override;
    int ColumnWidth(int column) const override;
    void SetRedraw(bool) override {}

    int RowCount() const { return m_source != nullptr ? m_source->RowCount() : 0; }
    std::string Cell(int row, int column) const;
    const std::vector<std::string>& Headers() const { return m_headers; }
    // Row changes completed so far, and the latest of them.
    int ChangeCount() const { return m_changes; }
    const RowChange& LastChange() const { return m_last; }

private:
    void Begin(const RowChange& change);
    void End(RowChange::Kind kind);
    void MoveMark(const RowChange& change);

    TableSource* m_source = nullptr;
    std::vector<std::string> m_headers;
    std::vector<int> m_widths;
    int m_mark = -1;
    std::optional<RowChange> m_open;
    int m_rowsBefore = 0;
    RowChange m_last;
    int m_changes = 0;
};

}  // namespace vistello::testing
