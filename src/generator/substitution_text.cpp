#include "generator/substitution_text.h"

#include <algorithm>
#include <utility>

namespace vistello {

SubstitutionText::SubstitutionText(std::string_view text, const TagStarts& starts,
                                   SubstitutionScratch& scratch, size_t limit)
    : m_tagStarts(starts),
      m_text(text),
      m_limit(limit),
      m_buffers(scratch.buffers),
      m_starts(scratch.starts),
      m_nextStarts(scratch.nextStarts),
      m_matches(scratch.matches) {
    m_starts.clear();
    m_tagStarts.Collect(m_text, 0, m_text.size(), m_starts);
}

bool SubstitutionText::Apply(std::string_view search, std::string_view replacement) {
    FindMatches(search);
    if (m_matches.empty()) return true;
    if (!Fits(search.size(), replacement.size())) return false;
    const int target = m_latest == 0 ? 1 : 0;
    std::string& result = m_buffers[static_cast<size_t>(target)];
    result.clear();
    result.reserve(m_text.size() - m_matches.size() * search.size() +
                   m_matches.size() * replacement.size());
    size_t rest = 0;
    for (const size_t match : m_matches) {
        result.append(m_text.substr(rest, match - rest)).append(replacement);
        rest = match + search.size();
    }
    result.append(m_text.substr(rest));
    CarryStarts(result, search.size(), replacement.size());
    m_text = result;
    m_latest = target;
    return true;
}

std::string SubstitutionText::Take() && {
    if (m_latest < 0) return std::string(m_text);
    return std::move(m_buffers[static_cast<size_t>(m_latest)]);
}

// Every occurrence begins at a known start, so only those are compared.
void SubstitutionText::FindMatches(std::string_view search) {
    m_matches.clear();
    if (search.empty()) return;
    size_t free = 0;
    for (const size_t start : m_starts) {
        if (start >= free && m_text.substr(start).starts_with(search)) {
            m_matches.push_back(start);
            free = start + search.size();
        }
    }
}

// Counted so that no product can overflow, however many matches and however long the replacement.
bool SubstitutionText::Fits(size_t searchSize, size_t replacementSize) const {
    const size_t kept = m_text.size() - m_matches.size() * searchSize;
    if (kept > m_limit) return false;
    return replacementSize == 0 || m_matches.size() <= (m_limit - kept) / replacementSize;
}

// A start whose two bytes lie inside unchanged text stays a start, moved with its text. The
// bytes around each replacement, from the one before it to its last, are judged afresh in the
// result, since their neighbours changed.
void SubstitutionText::CarryStarts(std::string_view result, size_t searchSize,
                                   size_t replacementSize) {
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
        const size_t replacementAt = restInResult + (match - rest);
        const size_t replacementEnd = replacementAt + replacementSize;
        const size_t from = std::max(judgedUpTo, replacementAt > 0 ? replacementAt - 1 : 0);
        m_tagStarts.Collect(result, from, replacementEnd, m_nextStarts);
        judgedUpTo = replacementEnd;
        rest = match + searchSize;
        restInResult = replacementEnd;
    }
    while (old != m_starts.end() && *old < rest) ++old;
    for (; old != m_starts.end(); ++old) m_nextStarts.push_back(*old - rest + restInResult);
    m_starts.swap(m_nextStarts);
}

}  // namespace vistello
