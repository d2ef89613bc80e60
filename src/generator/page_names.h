#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vistello {

// The page of an entry is named after its title as a reader sees it (the title is HTML: "&lt;b&gt;"
// names the page "<b>", "<i>Rome</i>" "rome"): spaces become underscores, capital letters A to Z
// small ones, and ".htm" follows. The separator and the NUL byte, which no file name can
// hold, become underscores too, so a page never lands outside the output folder. A leading "."
// becomes "_" (no hidden pages, no ".htm"), and a name that would pass the file system's 255
// bytes is cut at a character boundary, with room left for a "_N" that tells pages apart.
std::string PageFileName(std::string_view title);

// The names of a whole set, in list order. Image file names are taken first; every title then
// keeps its own name unless an image or an earlier title has it, in any case, and such a page gets
// the first "_2", "_3" ... before ".htm" that nothing else in the set uses (see UniqueNames), nor
// `inUse` says is in use.
std::vector<std::string> PageFileNames(std::span<const std::string_view> titles,
                                       std::span<const std::string> imageNames,
                                       const std::function<bool(const std::string&)>& inUse = {});

// A page file name made safe to stand unquoted after href=: every byte that would end the
// address, start a query or fragment, read as a scheme or a separator, or change with the
// page's character set is percent-encoded. Decoding gives back the file name.
std::string EncodeLinkTarget(std::string_view fileName);

// A path from the output folder made safe the same way, each part on its own, so the separators
// stay separators.
std::string EncodeAddress(std::string_view path);

// That address in double quotes, as the overview's tags that name a page or a picture give it.
std::string QuotedAddress(std::string_view path);

}  // namespace vistello
