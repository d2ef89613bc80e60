#include "framework/longest_cells.h"

#include <algorithm>

namespace vistello {

std::vector<std::vector<int>> LongestCells::Take() {
    std::vector<std::vector<int>> rows(m_best.size());
    for (size_t column = 0; column < m_best.size(); ++column) {
        for (; !m_best[column].empty(); m_best[column].pop())
            rows[column].push_back(m_best[column].top().second);
        std::sort(rows[column].begin(), rows[column].end());
    }
    return rows;
}

}  // namespace vistello
