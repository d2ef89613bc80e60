#include "qt/longest_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vistello {
namespace {

class OneColumn : public TableSource {
public:
    explicit OneColumn(std::vector<std::string> cells) : m_cells(std::move(cells)) {}
    int RowCount() const override { return static_cast<int>(m_cells.size()); }
    const std::string& Cell(int row, int) const override {
        return m_cells[static_cast<size_t>(row)];
    }

private:
    std::vector<std::string> m_cells;
};

TEST(LongestCellsTest, KeepsTheLongestRowsInRowOrder) {
    const OneColumn source({"ab", "abcdef", "", "abcd", "a", "abcde"});
    EXPECT_EQ(LongestCells(source, 0, 3), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(LongestCells(source, 0, 10), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(LongestCellsTest, NothingToMeasureGivesNoRows) {
    EXPECT_TRUE(LongestCells(OneColumn({}), 0, 5).empty());
    EXPECT_TRUE(LongestCells(OneColumn({"a"}), 0, 0).empty());
}

}  // namespace
}  // namespace vistello
