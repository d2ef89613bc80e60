#include "generator/tag_starts.h"

#include <algorithm>

namespace vistello {

namespace {

constexpr size_t kBlock = 32;

size_t Byte(char c) { return static_cast<unsigned char>(c); }

size_t PairIndex(char first, char second) { return Byte(first) * 256 + Byte(second); }

// Branch-free folds over a fixed-size block, so the compiler compares many bytes at once: tags
// rarely begin with bytes that HTML puts side by side, so most blocks are passed over here.
bool BlockHoldsPair(const char* block, char first, char second) {
    unsigned char hit = 0;
    for (size_t i = 0; i < kBlock; ++i) {
        hit |= static_cast<unsigned char>((block[i] == first) & (block[i + 1] == second));
    }
    return hit != 0;
}

bool BlockHoldsByte(const char* block, char byte) {
    unsigned char hit = 0;
    for (size_t i = 0; i < kBlock; ++i) hit |= static_cast<unsigned char>(block[i] == byte);
    return hit != 0;
}

}  // namespace

TagStarts::TagStarts(std::span<const std::string_view> tags) {
    for (std::string_view tag : tags) {
        if (tag.empty()) continue;
        unsigned char& role = m_firstByteRoles[Byte(tag[0])];
        if (tag.size() == 1 && (role & kWholeTag) == 0) {
            role |= kWholeTag;
            m_singleProbes.push_back(tag[0]);
        } else if (tag.size() > 1 && !m_pairs[PairIndex(tag[0], tag[1])]) {
            role |= kFirstOfPair;
            m_pairs.set(PairIndex(tag[0], tag[1]));
            m_pairProbes.emplace_back(tag[0], tag[1]);
        }
    }
}

bool TagStarts::BlockMayHold(const char* block) const {
    return std::any_of(m_pairProbes.begin(), m_pairProbes.end(),
                       [block](const auto& probe) {
                           return BlockHoldsPair(block, probe.first, probe.second);
                       }) ||
           std::any_of(m_singleProbes.begin(), m_singleProbes.end(),
                       [block](char probe) { return BlockHoldsByte(block, probe); });
}

void TagStarts::Collect(std::string_view text, size_t from, size_t to,
                        std::vector<size_t>& out) const {
    to = std::min(to, text.size());
    size_t pos = from;
    // A block reads one byte past its last start, so it stops short of the text's end.
    while (pos + kBlock <= to && pos + kBlock < text.size()) {
        if (BlockMayHold(text.data() + pos)) {
            for (const size_t end = pos + kBlock; pos < end; ++pos) {
                if (At(text, pos)) out.push_back(pos);
            }
        } else {
            pos += kBlock;
        }
    }
    for (; pos < to; ++pos) {
        if (At(text, pos)) out.push_back(pos);
    }
}

}  // namespace vistello
