#include "generator/substitution_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace vistello {
namespace {

// The plain reading of a pass: find, take, continue after the match.
std::string ReferencePass(const std::string& text, const std::string& search,
                          const std::string& replacement) {
    if (search.empty()) return text;
    std::string result;
    size_t rest = 0;
    for (size_t at = text.find(search); at != std::string::npos; at = text.find(search, rest)) {
        result.append(text, rest, at - rest).append(replacement);
        rest = at + search.size();
    }
    return result.append(text, rest);
}

std::string RandomText(std::mt19937& random, size_t maxSize) {
    static constexpr char kAlphabet[] = "ab<>";
    std::uniform_int_distribution<size_t> size(0, maxSize);
    std::uniform_int_distribution<int> letter(0, 3);
    std::string text(size(random), ' ');
    for (char& c : text) c = kAlphabet[letter(random)];
    return text;
}

// Few letters make matches touch, overlap and form across replacement borders, which is where
// carrying the starts from pass to pass could go wrong.
TEST(SubstitutionTextTest, AgreesWithPlainPassesOnRandomTexts) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        const std::string original = RandomText(random, 120);
        std::vector<std::pair<std::string, std::string>> passes;
        std::vector<std::string_view> searches;
        for (int pass = 0; pass < 10; ++pass)
            passes.emplace_back(RandomText(random, 3), RandomText(random, 4));
        for (const auto& pass : passes) searches.push_back(pass.first);
        const TagStarts starts(searches);
        SubstitutionScratch scratch;
        SubstitutionText text(original, starts, scratch);
        std::string expected = original;
        for (const auto& [search, replacement] : passes) {
            text.Apply(search, replacement);
            expected = ReferencePass(expected, search, replacement);
        }
        ASSERT_EQ(std::move(text).Take(), expected) << "round " << round << " text " << original;
    }
}

}  // namespace
}  // namespace vistello
