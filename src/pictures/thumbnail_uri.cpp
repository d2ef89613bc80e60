#include "pictures/thumbnail_uri.h"

#include <string_view>

#include "text/percent_encoding.h"

namespace vistello {

namespace {

bool Plain(unsigned char byte) {
    static constexpr std::string_view kMarks = "-_.!~*'()/:@&=+$,";
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9') || kMarks.find(static_cast<char>(byte)) != kMarks.npos;
}

}  // namespace

std::string ThumbnailUri(std::string_view absolutePath) {
    return "file://" + PercentEncode(absolutePath, Plain);
}

}  // namespace vistello
