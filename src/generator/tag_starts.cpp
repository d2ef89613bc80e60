#include "generator/tag_starts.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace vistello {

namespace {

constexpr size_t kBlock = 64;

size_t Byte(char c) { return static_cast<unsigned char>(c); }

size_t PairIndex(char first, char second) { return Byte(first) * 256 + Byte(second); }

Lanes Load(const char* bytes) {
    Lanes lanes;
    std::memcpy(&lanes, bytes, sizeof lanes);
    return lanes;
}

// The positions of the set bytes of a mask, first to last, counted from `base`.
void AppendPositions(Mask mask, size_t base, std::vector<size_t>& out) {
    static_assert(std::endian::native == std::endian::little);
    std::array<uint64_t, sizeof(Mask) / sizeof(uint64_t)> words;
    std::memcpy(words.data(), &mask, sizeof mask);
    for (size_t word = 0; word < words.size(); ++word) {
        for (uint64_t bits = words[word]; bits != 0;) {
            const int bit = std::countr_zero(bits);
            out.push_back(base + word * sizeof(uint64_t) + static_cast<size_t>(bit) / 8);
            bits &= ~(uint64_t{0xFF} << (bit & ~7));
        }
    }
}

bool Any(Mask mask) {
    std::array<uint64_t, sizeof(Mask) / sizeof(uint64_t)> words;
    std::memcpy(words.data(), &mask, sizeof mask);
    uint64_t any = 0;
    for (const uint64_t word : words) any |= word;
    return any != 0;
}

}  // namespace

TagStarts::TagStarts(std::span<const std::string_view> tags) {
    for (std::string_view tag : tags) {
        if (tag.empty()) continue;
        m_longest = std::max(m_longest, tag.size());
        unsigned char& role = m_firstByteRoles[Byte(tag[0])];
        if (tag.size() == 1 && (role & kWholeTag) == 0) {
            role |= kWholeTag;
            m_singleProbes.push_back(Lanes{} + static_cast<unsigned char>(tag[0]));
        } else if (tag.size() > 1 && !m_pairs[PairIndex(tag[0], tag[1])]) {
            role |= kFirstOfPair;
            m_pairs.set(PairIndex(tag[0], tag[1]));
            m_pairProbes.emplace_back(Lanes{} + static_cast<unsigned char>(tag[0]),
                                      Lanes{} + static_cast<unsigned char>(tag[1]));
        }
    }
}

size_t TagStarts::SharedPrefix(std::string_view search) const {
    if (!m_singleProbes.empty() || m_pairProbes.size() != 1 || search.size() < 2) return 0;
    return m_pairs[PairIndex(search[0], search[1])] ? 2 : 0;
}

// Each byte of the mask tells whether a tag could begin there: exactly what At tells, for
// sixteen positions at once.
Mask TagStarts::Hits(const char* bytes) const {
    const Lanes here = Load(bytes);
    const Lanes next = Load(bytes + 1);
    Mask hits{};
    for (const auto& [first, second] : m_pairProbes) hits |= (here == first) & (next == second);
    for (const Lanes& probe : m_singleProbes) hits |= here == probe;
    return hits;
}

// Tags rarely begin with bytes that HTML puts side by side, so most blocks hold no start and
// cost no branch per byte.
void TagStarts::Collect(std::string_view text, size_t from, size_t to,
                        std::vector<size_t>& out) const {
    to = std::min(to, text.size());
    size_t pos = from;
    // A block reads one byte past its last position, so it stops short of the text's end.
    for (; pos + kBlock <= to && pos + kBlock < text.size(); pos += kBlock) {
        std::array<Mask, kBlock / sizeof(Mask)> hits;
        Mask any{};
        for (size_t part = 0; part < hits.size(); ++part) {
            hits[part] = Hits(text.data() + pos + part * sizeof(Mask));
            any |= hits[part];
        }
        if (!Any(any)) continue;
        for (size_t part = 0; part < hits.size(); ++part) {
            AppendPositions(hits[part], pos + part * sizeof(Mask), out);
        }
    }
    for (; pos < to; ++pos) {
        if (At(text, pos)) out.push_back(pos);
    }
}

}  // namespace vistello
