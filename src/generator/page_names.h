#pragma once

#include <string>
#include <string_view>

namespace vistello {

// The page of an entry is named after its title: spaces become underscores, capital letters A
// to Z small ones, and ".htm" follows. The separator and the NUL byte, which no file name can
// hold, become underscores too, so a page never lands outside the output folder.
std::string PageFileName(std::string_view title);

// A page file name made safe to stand unquoted after href=: every byte that would end the
// address, start a query or fragment, read as a scheme or a separator, or change with the
// page's character set is percent-encoded. Decoding gives back the file name.
std::string EncodeLinkTarget(std::string_view fileName);

}  // namespace vistello
