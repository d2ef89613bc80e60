#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "net/listed_entry.h"

namespace vistello {

// One line of an FTP machine listing: facts such as "type=file;size=1234;" then one space and
// the name, spaces and all. Facts are told apart whatever their case; the folder itself and its
// parent ("cdir", "pdir") are left out, as is a line without facts.
std::optional<ListedEntry> ParseMlsdLine(std::string_view line);

// Every entry of a listing, one to a line, CR LF or LF.
std::vector<ListedEntry> ParseMlsdListing(std::string_view listing);

}  // namespace vistello
