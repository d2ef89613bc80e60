#include "platform/file_url.h"

#include <cctype>

namespace vistello {

namespace {

bool Plain(unsigned char byte) {
    return std::isalnum(byte) != 0 || byte == '/' || byte == '-' || byte == '.' || byte == '_' ||
           byte == '~';
}

}  // namespace

std::string FileUrl(std::string_view absolutePath, std::string_view section) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : absolutePath) {
        const auto byte = static_cast<unsigned char>(c);
        if (Plain(byte)) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0x0F];
        }
    }
    if (!section.empty()) url.append("#").append(section);
    return url;
}

}  // namespace vistello
