#pragma once

#include <QMimeData>
#include <string>
#include <vector>

namespace vistello {

// True when a drag carries files of this machine, as a file manager's drag does.
bool CarriesLocalFiles(const QMimeData& data);

// The full paths of the local files and folders a drag carries, in its order.
std::vector<std::string> LocalPaths(const QMimeData& data);

}  // namespace vistello
