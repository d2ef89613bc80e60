#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_ops.h"
#include "prefs/tag_set.h"
#include "slides/image_entry.h"

namespace vistello {

struct PageSetResult {
    int pages = 0;
    int pagesFailed = 0;
    int images = 0;
    int imagesFailed = 0;
    // One line per file that failed: its path and what went wrong.
    std::vector<std::string> failures;
    // The name of the top row's page, to open once the set is made.
    std::string firstPage;
};

// Told after each row's page, whether it was written; a page that fails is also in the result.
using PageDone = std::function<void(int row, bool written)>;

// Copies every row's image into the output folder and writes one page per row beside it, each
// linked to its neighbours, rows[0] first. The run goes on past every failure and counts it; an
// image that is already the file in the output folder counts as copied. Two rows may name the
// same image file; a second, different image of a name already copied is refused, not copied over
// the first. `outputFolder` is empty (the current folder) or ends with the separator; `onPage`
// may be empty.
PageSetResult WritePageSet(FileOps& ops, std::span<const ImageEntry* const> rows,
                           std::string_view templateText, const TagSet& tags,
                           const std::string& outputFolder, const PageDone& onPage);

}  // namespace vistello
