#pragma once

#include <functional>
#include <string>
#include <vector>

#include "media/publish_link.h"
#include "net/listed_entry.h"

namespace vistello {

// Lists one folder, named relative to the site's folder ("" for the site's folder itself).
using FolderLister =
    std::function<ServerAnswer(const std::string& folder, std::vector<ListedEntry>& entries)>;

// Every file below the site's folder, folder by folder, named relative to it. A server that
// lists folders without end is stopped at a depth no site has.
ServerAnswer ListTree(const FolderLister& list, std::vector<ServerFile>& files);

}  // namespace vistello
