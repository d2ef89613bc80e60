#include "generator/substitution_text.h"

#include <algorithm>
#include <utility>

namespace vistello {

SubstitutionText::SubstitutionText(std::string_view text, const TagStarts& tagStarts,
                                   const std::vector<size_t>& starts, SubstitutionScratch& scratch,
                                   size_t limit)
    : m_tagStarts(tagStarts),
      m_size(text.size()),
      m_limit(limit),
      m_pieces(scratch.pieces),
      m_nextPieces(scratch.nextPieces),
      m_starts(scratch.starts),
      m_nextStarts(scratch.nextStarts),
      m_matches(scratch.matches),
      m_inner(scratch.inner) {
    m_pieces.clear();
    if (!text.empty()) m_pieces.push_back(text);
    m_starts = starts;
}

bool SubstitutionText::Apply(std::string_view search, std::string_view replacement) {
    FindMatches(search);
    if (m_matches.empty()) return true;
    if (!Fits(search.size(), replacement.size())) return false;
    Replace(search.size(), replacement);
    CarryStarts(search.size(), replacement);
    m_size = m_size - m_matches.size() * search.size() + m_matches.size() * replacement.size();
    return true;
}

std::string SubstitutionText::Take() && {
    std::string text;
    text.reserve(m_size);
    for (const std::string_view piece : m_pieces) text.append(piece);
    return text;
}

// Every occurrence begins at a known start, so only those are compared, and only past the bytes
// that every start shares with the search.
void SubstitutionText::FindMatches(std::string_view search) {
    m_matches.clear();
    if (search.empty()) return;
    const size_t known = m_tagStarts.SharedPrefix(search);
    const std::string_view rest = search.substr(known);
    size_t free = 0;
    Cursor cursor;
    for (const size_t start : m_starts) {
        if (start >= free && MatchesAt(start + known, rest, cursor)) {
            m_matches.push_back(start);
            free = start + search.size();
        }
    }
}

// The cursor only moves forward, to the piece that holds pos; the comparison may run on into
// the pieces after it.
bool SubstitutionText::MatchesAt(size_t pos, std::string_view search, Cursor& cursor) const {
    if (pos + search.size() > m_size) return false;
    if (search.empty()) return true;
    while (cursor.start + m_pieces[cursor.piece].size() <= pos) {
        cursor.start += m_pieces[cursor.piece].size();
        ++cursor.piece;
    }
    size_t piece = cursor.piece;
    size_t offset = pos - cursor.start;
    // Byte by byte: tags are short and most candidates differ a byte or two after their start.
    while (!search.empty()) {
        const std::string_view bytes = m_pieces[piece].substr(offset);
        const size_t length = std::min(bytes.size(), search.size());
        for (size_t i = 0; i < length; ++i) {
            if (bytes[i] != search[i]) return false;
        }
        search.remove_prefix(length);
        ++piece;
        offset = 0;
    }
    return true;
}

// Counted so that no product can overflow, however many matches and however long the replacement.
bool SubstitutionText::Fits(size_t searchSize, size_t replacementSize) const {
    const size_t kept = m_size - m_matches.size() * searchSize;
    if (kept > m_limit) return false;
    return replacementSize == 0 || m_matches.size() <= (m_limit - kept) / replacementSize;
}

void SubstitutionText::Replace(size_t searchSize, std::string_view replacement) {
    m_nextPieces.clear();
    Cursor cursor;
    size_t rest = 0;
    for (const size_t match : m_matches) {
        CopyRange(rest, match, cursor);
        if (!replacement.empty()) m_nextPieces.push_back(replacement);
        rest = match + searchSize;
    }
    CopyRange(rest, m_size, cursor);
    m_pieces.swap(m_nextPieces);
}

// Appends the text from..to of the current pieces to the next ones; from never goes back. The
// pieces wholly inside the range are appended in one go.
void SubstitutionText::CopyRange(size_t from, size_t to, Cursor& cursor) {
    if (from >= to) return;
    while (cursor.start + m_pieces[cursor.piece].size() <= from) {
        cursor.start += m_pieces[cursor.piece].size();
        ++cursor.piece;
    }
    if (from > cursor.start || cursor.start + m_pieces[cursor.piece].size() > to) {
        const std::string_view piece = m_pieces[cursor.piece];
        const size_t offset = from - cursor.start;
        const size_t length = std::min(piece.size() - offset, to - from);
        m_nextPieces.push_back(piece.substr(offset, length));
        if (from + length >= to) return;
        cursor.start += piece.size();
        ++cursor.piece;
    }
    const size_t first = cursor.piece;
    while (cursor.piece < m_pieces.size() && cursor.start + m_pieces[cursor.piece].size() <= to) {
        cursor.start += m_pieces[cursor.piece].size();
        ++cursor.piece;
    }
    m_nextPieces.insert(m_nextPieces.end(), m_pieces.begin() + static_cast<ptrdiff_t>(first),
                        m_pieces.begin() + static_cast<ptrdiff_t>(cursor.piece));
    if (cursor.start < to)
        m_nextPieces.push_back(m_pieces[cursor.piece].substr(0, to - cursor.start));
}

// The byte at pos of the text as the pieces now hold it; pos never goes back.
char SubstitutionText::ByteAt(size_t pos, Cursor& cursor) const {
    while (cursor.start + m_pieces[cursor.piece].size() <= pos) {
        cursor.start += m_pieces[cursor.piece].size();
        ++cursor.piece;
    }
    return m_pieces[cursor.piece][pos - cursor.start];
}

// A start whose two bytes lie inside unchanged text stays a start, moved with its text. So does
// one inside a replacement, found once for all its copies. The two positions whose bytes straddle
// a replacement's edges, the byte before it and its last, are judged afresh in the result.
void SubstitutionText::CarryStarts(size_t searchSize, std::string_view replacement) {
    const size_t newSize =
        m_size - m_matches.size() * searchSize + m_matches.size() * replacement.size();
    m_inner.clear();
    if (replacement.size() > 1)
        m_tagStarts.Collect(replacement, 0, replacement.size() - 1, m_inner);
    Cursor cursor;
    const auto judge = [&](size_t pos, char first) {
        const char pair[2] = {first, pos + 1 < newSize ? ByteAt(pos + 1, cursor) : '\0'};
        if (m_tagStarts.At(std::string_view(pair, pos + 1 < newSize ? 2 : 1), 0)) {
            m_nextStarts.push_back(pos);
            m_onlyGivenTags = false;
        }
    };
    if (!m_inner.empty()) m_onlyGivenTags = false;
    m_nextStarts.clear();
    auto old = m_starts.begin();
    size_t rest = 0;
    size_t restInResult = 0;
    size_t judgedUpTo = 0;
    for (const size_t match : m_matches) {
        while (old != m_starts.end() && *old < rest) ++old;
        for (; old != m_starts.end() && *old + 1 < match; ++old) {
            m_nextStarts.push_back(*old - rest + restInResult);
        }
        // A start just before the match may begin a tag that runs on into what replaces it.
        if (!m_nextStarts.empty() &&
            m_nextStarts.back() + m_tagStarts.LongestTag() > restInResult + (match - rest))
            m_onlyGivenTags = false;
        const size_t replacementAt = restInResult + (match - rest);
        const size_t replacementEnd = replacementAt + replacement.size();
        if (replacementAt > judgedUpTo) judge(replacementAt - 1, ByteAt(replacementAt - 1, cursor));
        for (const size_t inner : m_inner) m_nextStarts.push_back(replacementAt + inner);
        if (!replacement.empty()) judge(replacementEnd - 1, replacement.back());
        judgedUpTo = replacementEnd;
        rest = match + searchSize;
        restInResult = replacementEnd;
    }
    while (old != m_starts.end() && *old < rest) ++old;
    for (; old != m_starts.end(); ++old) m_nextStarts.push_back(*old - rest + restInResult);
    m_starts.swap(m_nextStarts);
}

}  // namespace vistello
