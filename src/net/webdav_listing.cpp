#include "net/webdav_listing.h"

#include <charconv>

#include "net/xml_reader.h"
#include "text/percent_encoding.h"

namespace vistello {

namespace {

struct Response {
    std::string href;
    std::uint64_t size = 0;
    bool collection = false;
};

std::uint64_t Length(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\n')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) text.remove_suffix(1);
    std::uint64_t size = 0;
    std::from_chars(text.data(), text.data() + text.size(), size);
    return size;
}

std::string WithoutEndSlash(std::string_view path) {
    while (!path.empty() && path.back() == '/') path.remove_suffix(1);
    return std::string(path);
}

// The child's name when `path` is directly in the folder, else "".
std::string ChildName(std::string_view path, std::string_view folder) {
    const std::string child = WithoutEndSlash(path);
    const std::string parent = WithoutEndSlash(folder) + "/";
    if (child.size() <= parent.size() || child.compare(0, parent.size(), parent) != 0) return {};
    std::string name = child.substr(parent.size());
    if (name.find('/') != std::string::npos || name == "." || name == "..") return {};
    return name;
}

}  // namespace

std::string HrefPath(std::string_view href) {
    const size_t scheme = href.find("://");
    if (scheme != std::string_view::npos) {
        const size_t path = href.find('/', scheme + 3);
        href = path == std::string_view::npos ? std::string_view("/") : href.substr(path);
    }
    href = href.substr(0, href.find_first_of("?#"));
    if (href.empty() || href.front() != '/') return {};
    return PercentDecode(href);
}

std::optional<std::vector<ListedEntry>> ParseMultistatus(std::string_view xml,
                                                         std::string_view folderPath) {
    std::vector<ListedEntry> entries;
    Response response;
    XmlHandlers handlers;
    handlers.start = [&response](std::string_view name) {
        if (name == "response") response = Response();
        if (name == "collection") response.collection = true;
    };
    handlers.end = [&](std::string_view name, std::string_view text) {
        if (name == "href") response.href = text;
        if (name == "getcontentlength") response.size = Length(text);
        if (name != "response") return;
        std::string child = ChildName(HrefPath(response.href), folderPath);
        if (!child.empty())
            entries.push_back(
                {std::move(child), response.collection ? 0 : response.size, response.collection});
    };
    if (!ReadXml(xml, handlers)) return std::nullopt;
    return entries;
}

}  // namespace vistello
