#include "text/file_url.h"

#include <cctype>

#include "text/percent_encoding.h"

namespace vistello {

namespace {

bool Plain(unsigned char byte) {
    return std::isalnum(byte) != 0 || byte == '/' || byte == '-' || byte == '.' || byte == '_' ||
           byte == '~';
}

}  // namespace

std::string FileUrl(std::string_view absolutePath, std::string_view section) {
    std::string url = "file://" + PercentEncode(absolutePath, Plain);
    if (!section.empty()) url.append("#").append(section);
    return url;
}

}  // namespace vistello
