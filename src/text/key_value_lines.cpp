#include "text/key_value_lines.h"

namespace vistello {

void AppendKeyValueLine(std::string& text, std::string_view key, std::string_view value) {
    text.append(key).append("=");
    const size_t start = text.size();
    text.append(value);
    for (size_t at = start; at < text.size(); ++at) {
        if (text[at] == '\n' || text[at] == '\x1A') text[at] = ' ';
    }
    text.append("\n");
}

bool FitsKeyValueLine(std::string_view value) {
    return value.find_first_of("\r\n\x1A") == std::string_view::npos;
}

}  // namespace vistello
