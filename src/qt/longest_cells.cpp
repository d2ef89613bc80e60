#include "qt/longest_cells.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <utility>

namespace vistello {

std::vector<int> LongestCells(const TableSource& source, int column, int limit) {
    using Candidate = std::pair<size_t, int>;  // length, row
    // A min-heap of the best so far: its top is the shortest candidate, the one to give up.
    std::priority_queue<Candidate, std::vector<Candidate>, std::greater<>> best;
    const int rows = source.RowCount();
    for (int row = 0; row < rows && limit > 0; ++row) {
        const Candidate candidate{source.Cell(row, column).size(), row};
        if (static_cast<int>(best.size()) < limit) {
            best.push(candidate);
        } else if (candidate.first > best.top().first) {
            best.pop();
            best.push(candidate);
        }
    }
    std::vector<int> result;
    result.reserve(best.size());
    for (; !best.empty(); best.pop()) result.push_back(best.top().second);
    std::sort(result.begin(), result.end());
    return result;
}

}  // namespace vistello
