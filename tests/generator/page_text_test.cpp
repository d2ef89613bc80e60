#include "generator/page_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vistello {
namespace {

TagSet DefaultTags() {
    TagSet tags;
    tags.FillEmptyWithDefaults();
    return tags;
}

std::string Page(const std::string& text, const ImageEntry& entry, const std::string& back = "",
                 const std::string& next = "", const TagSet& tags = DefaultTags()) {
    return BuildPageText(text, tags, entry, back, next).value();
}

TEST(BuildPageTextTest, TemplateWithoutTagsIsUnchanged) {
    const std::string text = "<html>\n<body>< <ALT>> <<alt>></body>\n</html>\n";
    EXPECT_EQ(Page(text, {"T", "", "", "", "", "", "", "a.jpg"}, "b.htm", "n.htm"), text);
}

TEST(BuildPageTextTest, LinksAreUnquotedAndVanishWithoutTarget) {
    const std::string text = "<<BACK>>|<<NEXT>>|<<BACK>>";
    EXPECT_EQ(Page(text, {}, "p.htm", "n.htm"),
              "<a href=p.htm>Back</a>|<a href=n.htm>Next</a>|<a href=p.htm>Back</a>");
    EXPECT_EQ(Page(text, {}, "", "n.htm"), "|<a href=n.htm>Next</a>|");
    EXPECT_EQ(Page(text, {}, "p.htm", ""), "<a href=p.htm>Back</a>||<a href=p.htm>Back</a>");
    EXPECT_EQ(Page(text, {}), "||");
}

struct ValueCase {
    const char* name;
    ImageEntry entry;
    const char* expected;
};

class PageValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(PageValueTest, QuotesAndDefaultsAffectOnlyThePage) {
    const ValueCase& c = GetParam();
    const std::string text =
        "<<IMAGEPATH>>|<<IMAGETITLE>>|<<DESCRIPTION>>|<<ALT>>|<<KEYWORDS>>|"
        "<<WIDTH>>|<<HEIGHT>>|<<BORDER>>";
    EXPECT_EQ(Page(text, c.entry), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PageValueTest,
    ::testing::Values(ValueCase{"EmptyEntry", {}, R"(""|||""||"100%"|"100%"|"0")"},
                      ValueCase{"PlainValues",
                                {"Sun", "240", "320", "2", "a sun", "sky", "warm", "photo.jpg"},
                                R"("photo.jpg"|Sun|warm|"a sun"|sky|320|240|2)"},
                      ValueCase{"FileNameAfterLastSeparator",
                                {"", " 5 ", "50%", "x", "", "", "", "/home/me/pics/sun set.jpg"},
                                R"("sun%20set.jpg"|||""||50%| 5 |x)"},
                      ValueCase{"BackslashIsNoSeparatorHere",
                                {"", "", "", "", "", "", "", R"(C:\pics\a.jpg)"},
                                R"("C%3A%5Cpics%5Ca.jpg"|||""||"100%"|"100%"|"0")"},
                      ValueCase{"TrailingSeparatorLeavesEmptyName",
                                {"", "", "", "", "", "", "", "pics/"},
                                R"(""|||""||"100%"|"100%"|"0")"},
                      ValueCase{
                          "OnlyTheImageNameIsEncoded",
                          {"a<b & \"c\"", "", "", "", "<i>", "", "", "#1 \"x\"?&y%.jpg"},
                          R"("%231%20%22x%22%3F%26y%25.jpg"|a<b & "c"||"<i>"||"100%"|"100%"|"0")"}),
    [](const auto& param) { return param.param.name; });

TEST(BuildPageTextTest, LaterPassesSeeEarlierInsertionsButNoPassRescansItsOwn) {
    const std::string text = "<<IMAGETITLE>>/<<DESCRIPTION>>/<<ALT>>";
    ImageEntry entry;
    entry.title = "t <<ALT>> <<IMAGETITLE>> <<NEXT>> <<BACK>>";
    entry.description = "d <<IMAGETITLE>>";
    entry.alt = "alt";
    EXPECT_EQ(Page(text, entry, "b.htm", "n.htm"),
              "t \"alt\" <<IMAGETITLE>> <<NEXT>> <<BACK>>/d <<IMAGETITLE>>/\"alt\"");
}

// Equal tags: the earlier pass takes every occurrence, and the link passes come first of all.
TEST(BuildPageTextTest, EarlierOfTwoEqualTagsTakesEveryOccurrence) {
    TagSet tags = DefaultTags();
    tags.width = "[size]";
    tags.height = "[size]";
    tags.imageTitle = "<<NEXT>>";
    const ImageEntry entry{"Title", "240", "320", "", "", "", "", ""};
    EXPECT_EQ(Page("[size]x[size] <<NEXT>>", entry, "", "n.htm", tags),
              "320x320 <a href=n.htm>Next</a>");
    EXPECT_EQ(Page("<<NEXT>>", entry, "", "", tags), "");
}

TEST(BuildPageTextTest, CustomTagsAreMatchedExactlyEvenWhenBlank) {
    TagSet tags = DefaultTags();
    tags.imageTitle = "  ";
    tags.alt = "$alt";
    ImageEntry entry;
    entry.title = "T";
    entry.alt = "A";
    EXPECT_EQ(Page("a  b $alt $ALT <<IMAGETITLE>>", entry, "", "", tags),
              "aTb \"A\" $ALT <<IMAGETITLE>>");
}

std::string Repeat(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) repeated += text;
    return repeated;
}

// Built in full, the first page would take 100 GB: the test only passes when the pass that
// would cross the limit is refused before it is built.
TEST(BuildPageTextTest, PageThatWouldPassTheLimitIsNotBuilt) {
    ImageEntry entry;
    entry.title = Repeat("<<ALT>>", 300);
    entry.alt = Repeat("<<KEYWORDS>>", 1000);
    entry.keywords = std::string(100, 'k');
    const TagSet tags = DefaultTags();
    EXPECT_EQ(BuildPageText(Repeat("<<IMAGETITLE>>", 300), tags, entry, "", ""), std::nullopt);

    entry.title = std::string(20, 't');
    EXPECT_EQ(BuildPageText("<<IMAGETITLE>>", tags, entry, "", "", 20), entry.title);
    EXPECT_EQ(BuildPageText("<<IMAGETITLE>>", tags, entry, "", "", 19), std::nullopt);
    EXPECT_EQ(BuildPageText("<<IMAGETITLE>>", tags, entry, "", "", 13), std::nullopt);
}

}  // namespace
}  // namespace vistello
