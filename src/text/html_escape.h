#pragma once

#include <string>
#include <string_view>

namespace vistello {

// Text as it may stand in an HTML page, between tags or in a quoted attribute value, and be shown
// as the same text: &, <, > and " written as entities.
std::string HtmlEscaped(std::string_view text);

}  // namespace vistello
