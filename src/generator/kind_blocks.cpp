#include "generator/kind_blocks.h"

#include "generator/row_tags.h"
#include "slides/slide_kind.h"

namespace vistello {

SlideKinds KindOf(std::string_view name) {
    const bool clip = SlideKindOf(name) == SlideKind::Clip;
    return {!clip, clip};
}

std::string TextForKinds(std::string_view text, SlideKinds kinds) {
    struct Block {
        std::string_view open;
        std::string_view close;
        bool kept;
    };
    const Block blocks[] = {{kPhotoTag, kEndPhotoTag, kinds.photo},
                            {kClipTag, kEndClipTag, kinds.clip}};
    std::string kept;
    size_t at = 0;
    while (at < text.size()) {
        size_t next = text.size();
        const Block* first = nullptr;
        for (const Block& block : blocks) {
            const size_t found = text.find(block.open, at);
            if (found < next) {
                next = found;
                first = &block;
            }
        }
        kept.append(text.substr(at, next - at));
        if (first == nullptr) break;
        const size_t inside = next + first->open.size();
        const size_t close = text.find(first->close, inside);
        if (close == std::string_view::npos) {
            kept.append(first->open);
            at = inside;
            continue;
        }
        if (first->kept) kept.append(text.substr(inside, close - inside));
        at = close + first->close.size();
    }
    return kept;
}

SlideTemplate::SlideTemplate(std::string_view text, SlideKinds kinds, const TagSet& tags,
                             std::span<const std::string_view> ownTags)
    : m_text(TextForKinds(text, kinds)),
      m_rowTags(RowTagsIn(m_text)),
      m_extraTags(Joined(ownTags, m_rowTags)),
      m_page(m_text, tags, m_extraTags) {}

std::vector<std::string_view> SlideTemplate::Joined(std::span<const std::string_view> ownTags,
                                                    std::span<const std::string_view> rowTags) {
    std::vector<std::string_view> joined(ownTags.begin(), ownTags.end());
    joined.insert(joined.end(), rowTags.begin(), rowTags.end());
    return joined;
}

}  // namespace vistello
