#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "net/listed_entry.h"

namespace vistello {

// One line of an SFTP folder listing in the long form servers give, as `ls -l` prints it:
// "-rw-r--r--    1 user group  1234 Jan  1 12:00 name". The name is everything after the one
// space that follows the time, spaces and all; a link loses the " -> target" the library adds.
// Nothing for "." and "..", and for a line that is not of that form.
std::optional<ListedEntry> ParseSftpLine(std::string_view line);

// Every entry of a listing, one to a line.
std::vector<ListedEntry> ParseSftpListing(std::string_view listing);

}  // namespace vistello
