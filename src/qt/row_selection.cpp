#include "qt/row_selection.h"

#include <algorithm>

namespace vistello {

std::vector<int> SelectedRowsOf(const QItemSelection& selection) {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QItemSelection SelectionOfRows(const QAbstractItemModel& model, const std::vector<int>& rows,
                               int lastColumn) {
    QItemSelection selection;
    for (size_t at = 0; at < rows.size();) {
        size_t end = at + 1;
        while (end < rows.size() && rows[end] == rows[end - 1] + 1) ++end;
        selection.select(model.index(rows[at], 0), model.index(rows[end - 1], lastColumn));
        at = end;
    }
    return selection;
}

}  // namespace vistello
