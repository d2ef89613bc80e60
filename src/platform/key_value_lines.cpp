#include "platform/key_value_lines.h"

namespace vistello {

std::string_view TrimTrailingSpace(std::string_view line) {
    const size_t last = line.find_last_not_of(" \t\r\n\v\f");
    return last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
}

void AppendKeyValueLine(std::string& text, std::string_view key, std::string_view value) {
    text.append(key).append("=");
    const size_t start = text.size();
    text.append(value);
    for (size_t at = start; at < text.size(); ++at) {
        if (text[at] == '\n' || text[at] == '\x1A') text[at] = ' ';
    }
    text.append("\n");
}

}  // namespace vistello
