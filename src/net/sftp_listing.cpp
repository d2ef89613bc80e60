#include "net/sftp_listing.h"

#include <charconv>

namespace vistello {

namespace {

// The fields before the name: mode, links, owner, group, size, month, day, time or year.
constexpr int kFieldsBeforeName = 8;

// The next field from `at` on, spaces before it skipped; `at` moves past it.
std::string_view NextField(std::string_view line, size_t& at) {
    while (at < line.size() && line[at] == ' ') ++at;
    const size_t start = at;
    while (at < line.size() && line[at] != ' ') ++at;
    return line.substr(start, at - start);
}

std::optional<std::uint64_t> Number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<ListedEntry> ParseSftpLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    size_t at = 0;
    std::string_view fields[kFieldsBeforeName];
    for (std::string_view& field : fields) {
        field = NextField(line, at);
        if (field.empty()) return std::nullopt;
    }
    const std::optional<std::uint64_t> size = Number(fields[4]);
    if (!size || at + 1 >= line.size() || fields[0].size() != 10) return std::nullopt;
    std::string_view name = line.substr(at + 1);
    const char type = fields[0][0];
    if (type == 'l') name = name.substr(0, name.find(" -> "));
    if (name == "." || name == ".." || name.empty()) return std::nullopt;
    return ListedEntry{std::string(name), *size, type == 'd'};
}

std::vector<ListedEntry> ParseSftpListing(std::string_view listing) {
    std::vector<ListedEntry> entries;
    size_t start = 0;
    while (start < listing.size()) {
        size_t end = listing.find('\n', start);
        if (end == std::string_view::npos) end = listing.size();
        if (std::optional<ListedEntry> entry = ParseSftpLine(listing.substr(start, end - start)))
            entries.push_back(std::move(*entry));
        start = end + 1;
    }
    return entries;
}

}  // namespace vistello
