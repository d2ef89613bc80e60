#pragma once

#include <string>
#include <string_view>

namespace vistello {

// Calls visit(key, value) for every line of text (line ends already LF), the last one too when it
// has no line end. White space at the end of a line is not part of its value; the key is the text
// before the first "=", the value all the rest, so values may hold "=" of their own. A line
// without "=" is a key with an empty value.
template <typename Visit>
void ForEachKeyValue(std::string_view text, Visit&& visit);

inline std::string_view TrimTrailingSpace(std::string_view line) {
    size_t end = line.size();
    while (end > 0) {
        const char c = line[end - 1];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f') break;
        --end;
    }
    return line.substr(0, end);
}

// Appends key=value and a line end. A line end or Ctrl-Z inside the value would cut the file
// when it is read back, so each is written as a space.
void AppendKeyValueLine(std::string& text, std::string_view key, std::string_view value);

// Whether a value comes back from its line as it was written: a CR, a LF or a Ctrl-Z in it would
// end the line or the file, or be written as a space.
bool FitsKeyValueLine(std::string_view value);

template <typename Visit>
void ForEachKeyValue(std::string_view text, Visit&& visit) {
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = TrimTrailingSpace(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            visit(line, std::string_view());
        } else {
            visit(line.substr(0, equals), line.substr(equals + 1));
        }
    }
}

}  // namespace vistello
