#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "generator/page_text.h"
#include "prefs/tag_set.h"

namespace vistello {

inline constexpr std::string_view kPhotoTag = "<<PHOTO>>";
inline constexpr std::string_view kEndPhotoTag = "<<ENDPHOTO>>";
inline constexpr std::string_view kClipTag = "<<CLIP>>";
inline constexpr std::string_view kEndClipTag = "<<ENDCLIP>>";

// The kinds of slide a text is for: a slide's page is for its own kind, the overview's parts
// outside its rows for every kind the show holds.
struct SlideKinds {
    bool photo = false;
    bool clip = false;
};

// The kind of the slide whose image is published under `name`.
SlideKinds KindOf(std::string_view name);

// The text with what stands between <<PHOTO>> and <<ENDPHOTO>> kept only for photos, and what
// stands between <<CLIP>> and <<ENDCLIP>> only for clips; the pairs themselves go. An opening
// tag without its end stays as it is. A look can so show a clip its own way and still write a
// photo's page as one without those pairs would.
std::string TextForKinds(std::string_view text, SlideKinds kinds);

// A template as the pages of one kind of slide see it, ready for them: its text for that kind,
// and after the template's own tags the row tags that text holds (see RowTagsIn).
class SlideTemplate {
public:
    SlideTemplate(std::string_view text, SlideKinds kinds, const TagSet& tags,
                  std::span<const std::string_view> ownTags = {});
    SlideTemplate(const SlideTemplate&) = delete;
    SlideTemplate& operator=(const SlideTemplate&) = delete;

    const PageTemplate& Page() const { return m_page; }
    std::span<const std::string_view> RowTags() const { return m_rowTags; }

private:
    static std::vector<std::string_view> Joined(std::span<const std::string_view> ownTags,
                                                std::span<const std::string_view> rowTags);

    const std::string m_text;
    const std::vector<std::string_view> m_rowTags;
    const std::vector<std::string_view> m_extraTags;
    const PageTemplate m_page;
};

}  // namespace vistello
