#include "generator/page_names.h"

#include "files/path_rules.h"
#include "files/unique_names.h"
#include "text/percent_encoding.h"
#include "text/reader_text.h"
#include "text/utf8_cut.h"

namespace vistello {

namespace {

constexpr std::string_view kExtension = ".htm";
// "_" and seven digits: enough for a number per page of any album the list can hold.
constexpr size_t kSuffixRoom = 8;

char PageNameByte(char c) {
    if (c == ' ' || c == kPathSeparator || c == '\0') return '_';
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c;
}

bool Plain(unsigned char byte) {
    if (byte <= 0x20 || byte >= 0x7F) return false;
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
            return false;
        default:
            return true;
    }
}

}  // namespace

std::string PageFileName(std::string_view title) {
    std::string name = ReaderText(title);
    for (char& c : name) c = PageNameByte(c);
    if (name.empty()) name.push_back('_');
    if (name.front() == '.') name.front() = '_';
    if (name.size() + kExtension.size() > kMaxFileNameBytes) {
        CutToCharacter(name, kMaxFileNameBytes - kExtension.size() - kSuffixRoom);
    }
    return name.append(kExtension);
}

// Plain names are handed out before any suffixed one, so a title that reads like a suffixed name
// ("a_2") keeps it, and the page that would have had it moves on to the next free number.
std::vector<std::string> PageFileNames(std::span<const std::string_view> titles,
                                       std::span<const std::string> imageNames,
                                       const std::function<bool(const std::string&)>& inUse) {
    UniqueNames taken;
    for (const std::string& image : imageNames) taken.Take(image);
    const auto free = [&inUse](const std::string& name) { return !inUse || !inUse(name); };
    std::vector<std::string> names;
    names.reserve(titles.size());
    std::vector<size_t> clashing;
    for (const std::string_view title : titles) {
        names.push_back(PageFileName(title));
        if (!free(names.back()) || !taken.Take(names.back())) clashing.push_back(names.size() - 1);
    }
    for (const size_t page : clashing) {
        const std::string_view name = names[page];
        names[page] =
            taken.Claim(name.substr(0, name.size() - kExtension.size()), kExtension, free);
    }
    return names;
}

std::string EncodeLinkTarget(std::string_view fileName) { return PercentEncode(fileName, Plain); }

std::string EncodeAddress(std::string_view path) {
    std::string address;
    for (size_t start = 0;;) {
        const size_t slash = path.find('/', start);
        address += EncodeLinkTarget(path.substr(start, slash - start));
        if (slash == std::string_view::npos) return address;
        address += '/';
        start = slash + 1;
    }
}

std::string QuotedAddress(std::string_view path) {
    std::string address = "\"";
    address += EncodeAddress(path);
    address += '"';
    return address;
}

}  // namespace vistello
