#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace vistello {

// Sixteen bytes compared at once; the compiler turns the operators into vector instructions.
using Lanes = unsigned char __attribute__((vector_size(16)));
using Mask = signed char __attribute__((vector_size(16)));

// The positions at which any of a few tags could begin, judged by a tag's first two bytes (its
// only byte for a one-byte tag). One scan finds them for all tags at once, so the replacement
// passes need not each search the whole text.
class TagStarts {
public:
    explicit TagStarts(std::span<const std::string_view> tags);

    // Could a tag begin at pos? Looks at text[pos] and, where it exists, text[pos + 1].
    bool At(std::string_view text, size_t pos) const {
        const auto byte = [&text](size_t at) { return static_cast<unsigned char>(text[at]); };
        const unsigned char role = m_firstByteRoles[byte(pos)];
        if (role == kNoTag) return false;
        if ((role & kWholeTag) != 0) return true;
        return pos + 1 < text.size() && m_pairs[byte(pos) * 256 + byte(pos + 1)];
    }

    // How many leading bytes of search the text holds at every position where At holds: its
    // first two when every tag begins with the same two bytes, as "<<" begins them all.
    size_t SharedPrefix(std::string_view search) const;
    size_t LongestTag() const { return m_longest; }

    // Appends, in increasing order, every position in [from, to) where At holds.
    void Collect(std::string_view text, size_t from, size_t to, std::vector<size_t>& out) const;

private:
    Mask Hits(const char* bytes) const;

    // What a byte can be at the start of a tag: nothing, a whole one-byte tag, the first of two.
    static constexpr unsigned char kNoTag = 0;
    static constexpr unsigned char kWholeTag = 1;
    static constexpr unsigned char kFirstOfPair = 2;

    size_t m_longest = 0;
    std::array<unsigned char, 256> m_firstByteRoles{};
    std::bitset<256 * 256> m_pairs;
    // Each probe's bytes in every lane, ready to compare.
    std::vector<Lanes> m_singleProbes;
    std::vector<std::pair<Lanes, Lanes>> m_pairProbes;
};

}  // namespace vistello
