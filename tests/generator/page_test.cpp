#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generator/page_names.h"
#include "generator/page_set.h"
#include "generator/page_text.h"
#include "support/failing_file_ops.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

// Names stay inside the output folder and in sight; links escape what would end an address. A
// title is HTML: the page is named after what a reader sees of it, markup left out and references
// read, so that a title read from a file is named as the file says it.
TEST(PageNameTest, NamesThePageAndItsLink) {
    const struct {
        std::string title, fileName, linkTarget;
    } cases[] = {
        {"", "_.htm", "_.htm"},
        {".Profile", "_profile.htm", "_profile.htm"},
        {"Été À", "Été_À.htm", "%C3%89t%C3%A9_%C3%80.htm"},
        {std::string("x\0y", 3), "x_y.htm", "x_y.htm"},
        {R"(Q: "1" <2> 'a'=`b` & #c? 50%\d)", R"(q:_"1"_<2>_'a'=`b`_&_#c?_50%\d.htm)",
         "q%3A_%221%22_%3C2%3E_%27a%27%3D%60b%60_%26_%23c%3F_50%25%5Cd.htm"},
        {"&quot;>&lt;svg onload=alert(2)>", R"("><svg_onload=alert(2)>.htm)",
         "%22%3E%3Csvg_onload%3Dalert(2)%3E.htm"},
        {"<i title='a>b'>Caf&eacute;</i><!-- x > y --> &amp;&#47;&#x2e;&#0;&copy 2026&nope;",
         "café_&_.�©_2026&nope;.htm", "caf%C3%A9_%26_.%EF%BF%BD%C2%A9_2026%26nope;.htm"},
        {"&#46;&lt;.>", "_<.>.htm", "_%3C.%3E.htm"},
        {std::string(300, 'A'), std::string(243, 'a') + ".htm", std::string(243, 'a') + ".htm"},
        {std::string(242, 'a') + "\xC3\xA9" + std::string(20, 'b'), std::string(242, 'a') + ".htm",
         std::string(242, 'a') + ".htm"}};
    for (const auto& c : cases) {
        EXPECT_EQ(PageFileName(c.title), c.fileName);
        EXPECT_EQ(EncodeLinkTarget(PageFileName(c.title)), c.linkTarget);
    }
}

// Later titles of one name are numbered in list order, skipping names other titles or the
// images copied beside the pages have, and numbered names stay within the length limit.
TEST(PageNameTest, EveryPageGetsANameOfItsOwn) {
    const std::string longTitle(260, 'l');
    const std::string fullTitle(251, 'f');
    const struct {
        std::vector<std::string_view> titles;
        std::vector<std::string> images, expected;
    } cases[] = {
        {{"Trip", "a b", "x/y", "trip", "a_b", "x_y", "TRIP"},
         {},
         {"trip.htm", "a_b.htm", "x_y.htm", "trip_2.htm", "a_b_2.htm", "x_y_2.htm", "trip_3.htm"}},
        {{"a", "a", "a_2"}, {}, {"a.htm", "a_3.htm", "a_2.htm"}},
        {{"P", "Q", "q"}, {"p.htm", "q_2.htm", "x.jpg"}, {"p_2.htm", "q.htm", "q_3.htm"}},
        {{longTitle, longTitle, fullTitle, fullTitle},
         {},
         {std::string(243, 'l') + ".htm", std::string(243, 'l') + "_2.htm", fullTitle + ".htm",
          std::string(249, 'f') + "_2.htm"}}};
    for (const auto& c : cases) EXPECT_EQ(PageFileNames(c.titles, c.images), c.expected);
}

// The page with the default tags and the default size limit, or "(refused)".
std::string Page(const std::string& text, const ImageEntry& entry, size_t limit = kMaxPageBytes) {
    TagSet tags;
    tags.FillEmptyWithDefaults();
    return BuildPageText(PageTemplate(text, tags), entry, {}, {}, limit).value_or("(refused)");
}

// Only the page changes: quotes go around the attribute values, the alt text never leaves them,
// empty sizes take their defaults, and the image's file name is escaped for an address, with
// nothing else.
TEST(BuildPageTextTest, QuotesAndDefaultsAffectOnlyThePage) {
    const std::string text =
        "<<IMAGEPATH>>|<<IMAGETITLE>>|<<DESCRIPTION>>|<<ALT>>|<<KEYWORDS>>|"
        "<<WIDTH>>|<<HEIGHT>>|<<BORDER>>";
    const std::pair<ImageEntry, std::string> cases[] = {
        {{}, R"(""|||""||"100%"|"100%"|"0")"},
        {{"Sun", "240", "320", "2", "a sun", "sky", "warm", "photo.jpg"},
         R"("photo.jpg"|Sun|warm|"a sun"|sky|320|240|2)"},
        {{"", " 5 ", "50%", "x", "", "", "", "/home/me/pics/sun set.jpg"},
         R"("sun%20set.jpg"|||""||50%| 5 |x)"},
        {{"a<b & \"c\"", "", "", "", "<i>\" &eacute; &amp; &", "", "", "#1 \"x\"?&y%.jpg"},
         R"("%231%20%22x%22%3F%26y%25.jpg"|a<b & "c"||"&lt;i&gt;&quot; &eacute; &amp; &amp;"||"100%"|"100%"|"0")"}};
    for (const auto& [entry, expected] : cases) EXPECT_EQ(Page(text, entry), expected);
}

// Each tag is replaced left to right without overlaps, and later tags see what earlier ones put
// in, even where an inserted value and the text beside it together make a tag.
TEST(BuildPageTextTest, TagsReplaceLeftToRightAndSeeEarlierValues) {
    TagSet tags;
    tags.FillEmptyWithDefaults();
    tags.imageTitle = "##";
    ImageEntry entry{"T", "", "", "", "a", "<", "", ""};
    EXPECT_EQ(BuildPageText(PageTemplate("###|####|#", tags), entry, {}), "T#|TT|#");
    tags.imageTitle = "<<IMAGETITLE>>";
    entry.title = "<<KEYWORDS>>/<";
    EXPECT_EQ(BuildPageText(PageTemplate("<<IMAGETITLE>><ALT>>", tags), entry, {}), "</\"a\"");
    tags.alt = "<<";
    EXPECT_EQ(BuildPageText(PageTemplate("<<IMAGETITLE>>|<<", tags), entry, {}),
              "\"a\"KEYWORDS>>/<|\"a\"");
}

// Built in full, the first page would take 100 GB: the test only passes when the pass that
// would cross the limit is refused before it is built.
TEST(BuildPageTextTest, PageThatWouldPassTheLimitIsNotBuilt) {
    ImageEntry entry;
    for (int i = 0; i < 300; ++i) entry.title += "<<ALT>>";
    for (int i = 0; i < 1000; ++i) entry.alt += "<<KEYWORDS>>";
    std::string text;
    for (int i = 0; i < 300; ++i) text += "<<IMAGETITLE>>";
    entry.keywords = std::string(100, 'k');
    EXPECT_EQ(Page(text, entry), "(refused)");

    entry.title = std::string(20, 't');
    EXPECT_EQ(Page("<<IMAGETITLE>>", entry, 20), entry.title);
    EXPECT_EQ(Page("<<IMAGETITLE>>", entry, 19), "(refused)");
}

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// Every file in the folder by name, with its bytes.
std::map<std::string, std::string> Contents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::directory_iterator(folder))
        files[item.path().filename().string()] = ReadBytes(item.path().string());
    return files;
}

// A second run rewrites only what changed, whatever happened to the folder between runs, and
// leaves it as a first run would; a memory of the last run changes none of that.
TEST(PageSetTest, ARunOverAnEarlierOneWritesOnlyWhatChanged) {
    ScratchDir scratch;
    WriteMedia("a.jpg", "a");
    TagSet tags;
    tags.FillEmptyWithDefaults();
    std::vector<ImageEntry> entries;
    for (int i = 0; i < 5; ++i)
        entries.push_back({"Day " + std::to_string(i), "", "", "", "", "", "", "a.jpg"});
    std::vector<const ImageEntry*> rows;
    for (const ImageEntry& entry : entries) rows.push_back(&entry);
    PageSetMemory memory;
    for (PageSetMemory* remembered : {static_cast<PageSetMemory*>(nullptr), &memory}) {
        const std::string folder = remembered ? "kept/" : "plain/";
        // The files a run into the folder replaces.
        const auto run = [&](const std::string& into) {
            fs::create_directories(into);
            FailingFileOps ops;
            EXPECT_TRUE(WritePageSet(ops, rows, "<<BACK>>|<<NEXT>>|<<IMAGETITLE>>", tags, into, {},
                                     into == folder ? remembered : nullptr)
                            .failures.empty());
            return ops.replaced;
        };
        entries[2].title = "Day 2";
        EXPECT_EQ(run(folder).size(), 6u);
        EXPECT_EQ(run(folder), Strings{});
        entries[2].title = "Changed";
        EXPECT_EQ(run(folder),
                  (Strings{folder + "day_1.htm", folder + "changed.htm", folder + "day_3.htm"}));
        // The image keeps its size: only its modification time tells it changed.
        const fs::file_time_type before = fs::last_write_time("a.jpg");
        WriteMedia("a.jpg", remembered ? "c" : "b");
        fs::last_write_time("a.jpg", before + std::chrono::seconds(1));
        EXPECT_EQ(run(folder), Strings{folder + "a.jpg"});
        WriteBytes(folder + "day_0.htm", "edited");
        EXPECT_EQ(run(folder), Strings{folder + "day_0.htm"});
        const std::string fresh = folder.substr(0, folder.size() - 1) + "-fresh/";
        run(fresh);
        std::map<std::string, std::string> kept = Contents(folder);
        EXPECT_EQ(kept.erase("day_2.htm"), 1u);
        EXPECT_EQ(kept, Contents(fresh));
    }
}

}  // namespace
}  // namespace vistello::testing
