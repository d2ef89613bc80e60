#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generator/tag_starts.h"

namespace vistello {

// A text that goes through replacement passes one after another. Each pass replaces every
// occurrence of its search text, left to right and never overlapping, and does not search its
// own replacements again; later passes do see them. The positions where a tag could begin are
// found once and carried from pass to pass, so a pass costs its matches and one copy, not a
// search of the whole text.
// Working memory of a SubstitutionText, kept between texts by callers that build many.
struct SubstitutionScratch {
    std::array<std::string, 2> buffers;
    std::vector<size_t> starts;
    std::vector<size_t> nextStarts;
    std::vector<size_t> matches;
};

class SubstitutionText {
public:
    // starts must know every search text that Apply will be given.
    SubstitutionText(std::string_view text, const TagStarts& starts, SubstitutionScratch& scratch,
                     size_t limit = SIZE_MAX);

    // An empty search text replaces nothing. False, with the text left as it was, when the result
    // would be longer than the limit: it is measured before it is built.
    bool Apply(std::string_view search, std::string_view replacement);
    // Leaves the scratch buffer that held the result empty.
    std::string Take() &&;

private:
    void FindMatches(std::string_view search);
    bool Fits(size_t searchSize, size_t replacementSize) const;
    void CarryStarts(std::string_view result, size_t searchSize, size_t replacementSize);

    const TagStarts& m_tagStarts;
    std::string_view m_text;
    size_t m_limit;
    // The two buffers take turns holding the result; the original text is only read.
    std::array<std::string, 2>& m_buffers;
    int m_latest = -1;
    std::vector<size_t>& m_starts;
    std::vector<size_t>& m_nextStarts;
    std::vector<size_t>& m_matches;
};

}  // namespace vistello
