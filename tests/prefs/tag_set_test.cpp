#include "prefs/tag_set.h"

#include <gtest/gtest.h>

namespace vistello {
namespace {

TEST(TagSetTest, FillsOnlyEmptyTagsWithTheirDefaults) {
    TagSet tags;
    tags.width = "  ";
    tags.alt = "[alt]";
    tags.FillEmptyWithDefaults();
    EXPECT_EQ(tags.imagePath, "<<IMAGEPATH>>");
    EXPECT_EQ(tags.imageTitle, "<<IMAGETITLE>>");
    EXPECT_EQ(tags.height, "<<HEIGHT>>");
    EXPECT_EQ(tags.width, "  ");
    EXPECT_EQ(tags.border, "<<BORDER>>");
    EXPECT_EQ(tags.alt, "[alt]");
    EXPECT_EQ(tags.keywords, "<<KEYWORDS>>");
    EXPECT_EQ(tags.description, "<<DESCRIPTION>>");
}

}  // namespace
}  // namespace vistello
