// Page text: the passes, overview tags included, give exactly what plain find-and-replace passes
// give, each pass over the text as the one before left it, never rescanning what it put in; a page
// that would pass the size limit at any pass is refused rather than built.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_input.h"
#include "generator/page_names.h"
#include "generator/page_text.h"

using namespace vistello;
using vistello::fuzz::Check;
using vistello::fuzz::FuzzInput;

namespace {

// The rule is the same at any limit; a small one keeps every run quick, where pages near a large
// limit would slow the search a hundredfold.
constexpr size_t kLimit = 1 << 16;

// Nothing when the text would pass the limit at some pass.
std::optional<std::string> PlainPasses(
    std::string text, const std::vector<std::pair<std::string, std::string>>& passes) {
    for (const auto& [search, replacement] : passes) {
        if (search.empty()) continue;
        std::string result;
        size_t from = 0;
        for (size_t at = text.find(search); at != std::string::npos; at = text.find(search, from)) {
            result.append(text, from, at - from).append(replacement);
            from = at + search.size();
            if (result.size() > kLimit) return std::nullopt;
        }
        result.append(text, from, std::string::npos);
        if (result.size() > kLimit) return std::nullopt;
        text = std::move(result);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const std::string templateText = input.Next();
    TagSet tags;
    for (TagKey key : kFillOrder) tags[key] = input.Next();
    ImageEntry entry;
    for (int column = 0; column < ImageEntry::kColumnCount; ++column)
        entry.Column(column) = input.Next();
    const std::string back = input.Next();
    const std::string next = input.Next();
    const std::string index = input.Next();
    const std::string pageTag = input.Next();
    const std::string pageValue = input.Next();
    const std::string_view extraTags[] = {pageTag};
    const std::string_view extraValues[] = {pageValue};

    const PageValues values = MakePageValues(entry, {back, next, index});
    const std::optional<std::string> expected =
        PlainPasses(templateText, {{std::string(kBackTag), values.backLink},
                                   {std::string(kNextTag), values.nextLink},
                                   {std::string(kIndexTag), values.indexLink},
                                   {tags.imagePath, values.imageFile},
                                   {tags.imageTitle, values.title},
                                   {tags.description, values.description},
                                   {tags.alt, values.alt},
                                   {tags.keywords, values.keywords},
                                   {tags.width, values.width},
                                   {tags.height, values.height},
                                   {tags.border, values.border},
                                   {pageTag, pageValue}});
    const std::optional<std::string> built =
        BuildPageText(PageTemplate(templateText, tags, extraTags), entry, {back, next, index},
                      extraValues, kLimit);
    Check(built.has_value() == expected.has_value(),
          "refused a page it should build, or built one it should refuse");
    if (built) Check(*built == *expected, "the page differs from plain passes");
    return 0;
}
