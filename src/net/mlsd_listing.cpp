#include "net/mlsd_listing.h"

#include <charconv>

#include "text/letter_case.h"

namespace vistello {

namespace {

struct Facts {
    std::string type;
    std::optional<std::uint64_t> size;
};

void TakeFact(std::string_view fact, Facts& facts) {
    const size_t equals = fact.find('=');
    if (equals == std::string_view::npos) return;
    const std::string key = FoldedCase(fact.substr(0, equals));
    const std::string_view value = fact.substr(equals + 1);
    if (key == "type") {
        facts.type = FoldedCase(value);
    } else if (key == "size") {
        std::uint64_t size = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), size);
        if (error == std::errc() && end == value.data() + value.size() && !value.empty())
            facts.size = size;
    }
}

Facts ReadFacts(std::string_view facts) {
    Facts read;
    size_t start = 0;
    while (start < facts.size()) {
        size_t end = facts.find(';', start);
        if (end == std::string_view::npos) end = facts.size();
        TakeFact(facts.substr(start, end - start), read);
        start = end + 1;
    }
    return read;
}

}  // namespace

std::optional<ListedEntry> ParseMlsdLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t space = line.find(' ');
    if (space == std::string_view::npos || space == 0 || space + 1 >= line.size())
        return std::nullopt;
    const Facts facts = ReadFacts(line.substr(0, space));
    const std::string_view name = line.substr(space + 1);
    if (facts.type == "cdir" || facts.type == "pdir" || facts.type.empty()) return std::nullopt;
    if (name == "." || name == "..") return std::nullopt;
    return ListedEntry{std::string(name), facts.size.value_or(0), facts.type == "dir"};
}

std::vector<ListedEntry> ParseMlsdListing(std::string_view listing) {
    std::vector<ListedEntry> entries;
    size_t start = 0;
    while (start < listing.size()) {
        size_t end = listing.find('\n', start);
        if (end == std::string_view::npos) end = listing.size();
        if (std::optional<ListedEntry> entry = ParseMlsdLine(listing.substr(start, end - start)))
            entries.push_back(std::move(*entry));
        start = end + 1;
    }
    return entries;
}

}  // namespace vistello
