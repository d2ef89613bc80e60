#include "net/s3_listing.h"

#include <charconv>

#include "net/xml_reader.h"

namespace vistello {

std::optional<S3Page> ParseS3Page(std::string_view xml) {
    S3Page page;
    ListedEntry object;
    bool truncated = false;
    XmlHandlers handlers;
    handlers.start = [&object](std::string_view name) {
        if (name == "Contents") object = ListedEntry();
    };
    handlers.end = [&](std::string_view name, std::string_view text) {
        if (name == "Key") object.name = text;
        if (name == "Size") std::from_chars(text.data(), text.data() + text.size(), object.size);
        if (name == "Contents" && !object.name.empty()) page.objects.push_back(object);
        if (name == "IsTruncated") truncated = text == "true";
        if (name == "NextContinuationToken") page.nextToken = text;
    };
    if (!ReadXml(xml, handlers)) return std::nullopt;
    if (!truncated) page.nextToken.clear();
    if (truncated && page.nextToken.empty()) return std::nullopt;
    return page;
}

S3Error ParseS3Error(std::string_view xml) {
    S3Error error;
    XmlHandlers handlers;
    handlers.end = [&error](std::string_view name, std::string_view text) {
        if (name == "Code") error.code = text;
        if (name == "Message") error.message = text;
    };
    if (!ReadXml(xml, handlers)) return {};
    return error;
}

}  // namespace vistello
