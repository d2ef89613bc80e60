#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generator/tag_starts.h"

namespace vistello {

// Working memory of a SubstitutionText, kept between texts by callers that build many.
struct SubstitutionScratch {
    std::vector<std::string_view> pieces;
    std::vector<std::string_view> nextPieces;
    std::vector<size_t> starts;
    std::vector<size_t> nextStarts;
    std::vector<size_t> matches;
    std::vector<size_t> inner;
};

// A text that goes through replacement passes one after another. Each pass replaces every
// occurrence of its search text, left to right and never overlapping, and does not search its
// own replacements again; later passes do see them. The positions where a tag could begin are
// found once and carried from pass to pass, so a pass costs its matches, not a search of the
// whole text. Nor does a pass copy the text: it stays a list of pieces of the given text and of
// the replacements, joined once when the result is taken.
class SubstitutionText {
public:
    // tagStarts must know every search text that Apply will be given; starts are the positions
    // in text where it holds.
    SubstitutionText(std::string_view text, const TagStarts& tagStarts,
                     const std::vector<size_t>& starts, SubstitutionScratch& scratch,
                     size_t limit = SIZE_MAX);

    // An empty search text replaces nothing. False, with the text left as it was, when the result
    // would be longer than the limit: it is measured before it is built. The replacement's bytes
    // must outlive the text.
    bool Apply(std::string_view search, std::string_view replacement);
    std::string Take() &&;

    // True while every tag the text holds stands where the given text held it: no pass has put
    // one in, nor joined or cut text close enough after a start to make one. A tag the given
    // text does not hold is then not in the text either.
    bool HoldsOnlyGivenTags() const { return m_onlyGivenTags; }

private:
    // Where a walk through the pieces stands: a piece and the text position it begins at.
    struct Cursor {
        size_t piece = 0;
        size_t start = 0;
    };

    void FindMatches(std::string_view search);
    bool MatchesAt(size_t pos, std::string_view search, Cursor& cursor) const;
    bool Fits(size_t searchSize, size_t replacementSize) const;
    void Replace(size_t searchSize, std::string_view replacement);
    void CopyRange(size_t from, size_t to, Cursor& cursor);
    void CarryStarts(size_t searchSize, std::string_view replacement);
    char ByteAt(size_t pos, Cursor& cursor) const;

    const TagStarts& m_tagStarts;
    size_t m_size;
    size_t m_limit;
    std::vector<std::string_view>& m_pieces;
    std::vector<std::string_view>& m_nextPieces;
    std::vector<size_t>& m_starts;
    std::vector<size_t>& m_nextStarts;
    std::vector<size_t>& m_matches;
    // Where tags could begin inside the replacement of the pass in hand.
    std::vector<size_t>& m_inner;
    bool m_onlyGivenTags = true;
};

}  // namespace vistello
