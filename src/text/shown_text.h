#pragma once

#include <string>
#include <string_view>

namespace vistello {

// The text a browser shows for a piece of a page: tags, comments and what a script or style holds
// left out, character references read, white space run together into one space, a line break
// for <br> and at the edges of paragraphs and other blocks. Plain text, to show as such.
std::string ShownText(std::string_view html);

}  // namespace vistello
