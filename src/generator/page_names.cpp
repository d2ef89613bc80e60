#include "generator/page_names.h"

#include "platform/path_rules.h"

namespace vistello {

namespace {

char PageNameByte(char c) {
    if (c == ' ' || c == kPathSeparator || c == '\0') return '_';
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c;
}

bool NeedsEncoding(unsigned char byte) {
    if (byte <= 0x20 || byte >= 0x7F) return true;
    switch (byte) {
        case '"':
        case '\'':
        case '<':
        case '>':
        case '`':
        case '=':
        case '&':
        case '#':
        case '?':
        case '%':
        case ':':
        case '\\':
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string PageFileName(std::string_view title) {
    std::string name;
    name.reserve(title.size() + 4);
    for (char c : title) name.push_back(PageNameByte(c));
    return name.append(".htm");
}

std::string EncodeLinkTarget(std::string_view fileName) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string target;
    target.reserve(fileName.size());
    for (char c : fileName) {
        const auto byte = static_cast<unsigned char>(c);
        if (NeedsEncoding(byte)) {
            target.push_back('%');
            target.push_back(kHex[byte >> 4]);
            target.push_back(kHex[byte & 0x0F]);
        } else {
            target.push_back(c);
        }
    }
    return target;
}

}  // namespace vistello
