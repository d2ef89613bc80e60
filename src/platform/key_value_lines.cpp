#include "platform/key_value_lines.h"

namespace vistello {

std::string_view TrimTrailingSpace(std::string_view line) {
    const size_t last = line.find_last_not_of(" \t\r\n\v\f");
    return last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
}

}  // namespace vistello
