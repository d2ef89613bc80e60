#pragma once

#include <vector>

#include "framework/list_view.h"

namespace vistello {

// The rows whose text in the column is longest, at most limit of them. Measuring text in a font
// is slow; counting bytes is not, so a column is fitted by measuring only these candidates.
std::vector<int> LongestCells(const TableSource& source, int column, int limit);

}  // namespace vistello
