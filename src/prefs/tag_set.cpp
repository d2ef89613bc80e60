#include "prefs/tag_set.h"

namespace vistello {

namespace {

struct TagInfo {
    const char* key;
    std::string defaultText;
    std::string TagSet::*member;
};

const TagInfo& Info(TagKey key) {
    static const std::array<TagInfo, kTagCount> kTags = {{
        {"IMAGEPATH", "<<IMAGEPATH>>", &TagSet::imagePath},
        {"IMAGETITLE", "<<IMAGETITLE>>", &TagSet::imageTitle},
        {"HEIGHT", "<<HEIGHT>>", &TagSet::height},
        {"WIDTH", "<<WIDTH>>", &TagSet::width},
        {"BORDER", "<<BORDER>>", &TagSet::border},
        {"ALT", "<<ALT>>", &TagSet::alt},
        {"KEYWORDS", "<<KEYWORDS>>", &TagSet::keywords},
        {"DESCRIPTION", "<<DESCRIPTION>>", &TagSet::description},
    }};
    return kTags[static_cast<size_t>(key)];
}

}  // namespace

const char* TagKeyName(TagKey key) { return Info(key).key; }

const std::string& DefaultTag(TagKey key) { return Info(key).defaultText; }

std::string& TagSet::operator[](TagKey key) { return this->*Info(key).member; }

const std::string& TagSet::operator[](TagKey key) const { return this->*Info(key).member; }

void TagSet::FillEmptyWithDefaults() {
    for (TagKey key : kFillOrder) {
        std::string& tag = (*this)[key];
        if (tag.empty()) tag = DefaultTag(key);
    }
}

}  // namespace vistello
