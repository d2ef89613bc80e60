#pragma once

#include <cstddef>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

namespace vistello {

// Collects, for each column, the rows whose text is longest, at most limit of them. Measuring
// text in a font is slow; counting bytes is not, so a column is fitted by measuring only these
// candidates. Rows are offered in one pass, every column of a row together.
class LongestCells {
public:
    LongestCells(int columns, int limit) : m_best(static_cast<size_t>(columns)), m_limit(limit) {}

    void Offer(int column, size_t size, int row) {
        Best& best = m_best[static_cast<size_t>(column)];
        if (static_cast<int>(best.size()) < m_limit) {
            best.push({size, row});
        } else if (m_limit > 0 && size > best.top().first) {
            best.pop();
            best.push({size, row});
        }
    }

    // Each column's rows, in row order.
    std::vector<std::vector<int>> Take();

private:
    using Candidate = std::pair<size_t, int>;  // length, row
    // A min-heap of the best so far: its top is the shortest candidate, the one to give up.
    using Best = std::priority_queue<Candidate, std::vector<Candidate>, std::greater<>>;

    std::vector<Best> m_best;
    int m_limit;
};

}  // namespace vistello
