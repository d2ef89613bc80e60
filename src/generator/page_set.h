#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_ops.h"
#include "generator/page_set_memory.h"
#include "prefs/tag_set.h"
#include "slides/image_entry.h"

namespace vistello {

struct PageSetResult {
    int pages = 0;
    int pagesFailed = 0;
    // Pages that hold their new text now, whether written or found so already.
    int pagesWritten = 0;
    int images = 0;
    int imagesFailed = 0;
    // True when `onPage` answered false, which leaves the rows after that one undone; the
    // counts of failures and written pages cover the rows done.
    bool stopped = false;
    // One line per file that failed: its path and what went wrong.
    std::vector<std::string> failures;
    // The name of the top row's page, to open once the set is made.
    std::string firstPage;
};

// Told after each row's page, whether it was written; a page that fails is also in the result.
// Answers whether the run is to go on: false stops it before the next row.
using PageDone = std::function<bool(int row, bool written)>;

// Copies every row's image into the output folder and writes one page per row beside it, each
// linked to its neighbours, rows[0] first. The run goes on past every failure and counts it; an
// image that is already the file in the output folder counts as copied. Two rows may name the
// same image file; a second, different image of a name already copied is refused, not copied over
// the first. `outputFolder` is empty (the current folder) or ends with the separator; `onPage`
// may be empty.
//
// A second run over the same folder does only what changed: an image whose copy there has its
// size and modification time is not copied again, and a page that already holds its new text is
// not written again. What is left in the folder is the same as after a first run. With a memory
// of the last run, a page it made from the same values, untouched since, is not even built.
PageSetResult WritePageSet(FileOps& ops, std::span<const ImageEntry* const> rows,
                           std::string_view templateText, const TagSet& tags,
                           const std::string& outputFolder, const PageDone& onPage,
                           PageSetMemory* memory = nullptr);

}  // namespace vistello
