#pragma once

#include <array>
#include <string>

namespace vistello {

enum class TagKey { ImagePath, ImageTitle, Height, Width, Border, Alt, Keywords, Description };

inline constexpr int kTagCount = 8;

// The order in which empty tags receive their defaults.
inline constexpr std::array<TagKey, kTagCount> kFillOrder = {
    TagKey::ImageTitle, TagKey::ImagePath, TagKey::Height,   TagKey::Width,
    TagKey::Border,     TagKey::Alt,       TagKey::Keywords, TagKey::Description};

// The key as the preferences file names it, e.g. "IMAGETITLE".
const char* TagKeyName(TagKey key);
// The text that stands for an empty tag, e.g. "<<IMAGETITLE>>".
const std::string& DefaultTag(TagKey key);

// The eight variable tags that the generator looks for in a template. An empty tag stands for its
// default text.
struct TagSet {
    std::string description;
    std::string keywords;
    std::string alt;
    std::string border;
    std::string width;
    std::string height;
    std::string imageTitle;
    std::string imagePath;

    std::string& operator[](TagKey key);
    const std::string& operator[](TagKey key) const;

    void FillEmptyWithDefaults();

    bool operator==(const TagSet&) const = default;
};

}  // namespace vistello
