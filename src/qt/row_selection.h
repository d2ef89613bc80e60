#pragma once

#include <QItemSelection>
#include <vector>

namespace vistello {

// The rows a selection covers, in row order, each once.
std::vector<int> SelectedRowsOf(const QItemSelection& selection);

// A selection of the rows, in row order, from the first column to `lastColumn`: each run of
// neighbours one range, so that selecting every row of a large album is one range.
QItemSelection SelectionOfRows(const QAbstractItemModel& model, const std::vector<int>& rows,
                               int lastColumn);

}  // namespace vistello
