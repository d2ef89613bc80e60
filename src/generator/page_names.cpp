#include "generator/page_names.h"

#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "files/path_rules.h"
#include "text/percent_encoding.h"

namespace vistello {

namespace {

constexpr std::string_view kExtension = ".htm";
constexpr size_t kMaxNameBytes = 255;
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

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// At most `size` bytes, never ending inside a UTF-8 character; text that is not UTF-8 there
// (more continuation bytes than a character holds) is cut at `size` itself.
void CutToCharacter(std::string& stem, size_t size) {
    if (stem.size() <= size) return;
    size_t cut = size;
    while (cut > 0 && size - cut < 3 && IsContinuationByte(stem[cut])) --cut;
    stem.resize(IsContinuationByte(stem[cut]) ? size : cut);
}

std::string WithSuffix(std::string stem, int number) {
    std::string suffix(1, '_');
    suffix += std::to_string(number);
    CutToCharacter(stem, kMaxNameBytes - kExtension.size() - suffix.size());
    return stem.append(suffix).append(kExtension);
}

}  // namespace

std::string PageFileName(std::string_view title) {
    std::string name;
    name.reserve(title.size() + kExtension.size());
    for (char c : title) name.push_back(PageNameByte(c));
    if (name.empty()) name.push_back('_');
    if (name.front() == '.') name.front() = '_';
    if (name.size() + kExtension.size() > kMaxNameBytes) {
        CutToCharacter(name, kMaxNameBytes - kExtension.size() - kSuffixRoom);
    }
    return name.append(kExtension);
}

// Plain names are handed out before any suffixed one, so a title that reads like a suffixed name
// ("a_2") keeps it, and the page that would have had it moves on to the next free number.
std::vector<std::string> PageFileNames(std::span<const std::string_view> titles,
                                       std::span<const std::string> imageNames) {
    std::unordered_set<std::string> taken(imageNames.begin(), imageNames.end());
    std::vector<std::string> names;
    names.reserve(titles.size());
    std::vector<size_t> clashing;
    for (const std::string_view title : titles) {
        names.push_back(PageFileName(title));
        if (!taken.insert(names.back()).second) clashing.push_back(names.size() - 1);
    }
    std::unordered_map<std::string, int> nextNumber;
    for (const size_t page : clashing) {
        std::string stem = names[page].substr(0, names[page].size() - kExtension.size());
        int& number = nextNumber.try_emplace(stem, 2).first->second;
        std::string name;
        do {
            name = WithSuffix(stem, number++);
        } while (!taken.insert(name).second);
        names[page] = std::move(name);
    }
    return names;
}

std::string EncodeLinkTarget(std::string_view fileName) { return PercentEncode(fileName, Plain); }

}  // namespace vistello
