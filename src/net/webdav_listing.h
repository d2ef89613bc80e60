#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/listed_entry.h"

namespace vistello {

// The path an href names, decoded: a full URL loses its scheme and host; "" for an href that is
// neither a URL nor a path.
std::string HrefPath(std::string_view href);

// The entries of a WebDAV multistatus answer to a PROPFIND of depth 1 on the collection at
// `folderPath` (decoded, as HrefPath gives it): each child of the collection by its own name, a
// collection as a folder, a file with its length. The collection itself, and whatever is not
// directly in it, is left out. Nothing when the answer is not such XML.
std::optional<std::vector<ListedEntry>> ParseMultistatus(std::string_view xml,
                                                         std::string_view folderPath);

}  // namespace vistello
