#include "project/project_file.h"

#include <gtest/gtest.h>

#include "platform/text_file.h"
#include "slides/entry_list.h"

namespace vistello {
namespace {

// The entries read, by value, in the order read.
std::vector<ImageEntry> Read(std::string_view text, ProjectFields& fields) {
    std::vector<ImageEntry> entries;
    for (const auto& entry : ParseProjectText(text, fields)) entries.push_back(*entry);
    return entries;
}

ImageEntry Entry(const std::string& title, const std::string& image) {
    return {title, "h", "w", "b", "alt", "kw", "desc", image};
}

TEST(ProjectFileTest, WritesBottomRowFirstWithAnEmptyLineBetweenBlocks) {
    EntryList rows;
    EXPECT_EQ(FormatProjectText("t.htm", "out", rows),
              "CREATOR=Vistello 1.0\nTEMPLATE=t.htm\nOUTPUT=out\n");
    rows.InsertTop(Entry("Bottom", "b.jpg"));
    rows.InsertTop(Entry("Top=1", "t.jpg"));
    EXPECT_EQ(FormatProjectText("t.htm", "out", rows),
              "CREATOR=Vistello 1.0\nTEMPLATE=t.htm\nOUTPUT=out\n"
              "IMAGE=b.jpg\nTITLE=Bottom\nHEIGHT=h\nWIDTH=w\nBORDER=b\nALT=alt\nKEYWORDS=kw\n"
              "DESCRIPTION=desc\n\n"
              "IMAGE=t.jpg\nTITLE=Top=1\nHEIGHT=h\nWIDTH=w\nBORDER=b\nALT=alt\nKEYWORDS=kw\n"
              "DESCRIPTION=desc\n");
}

TEST(ProjectFileTest, ReadsWhatItWroteInTheOrderWritten) {
    EntryList rows;
    rows.InsertTop({"Mill  ", "1", "2", "3", "  a=b", "k", "href=\"x\" E=mc2", "m.jpg"});
    rows.InsertTop(Entry("Harbour", "h.jpg"));
    ProjectFields fields;
    const std::vector<ImageEntry> read = Read(FormatProjectText("t.htm", "o=ut", rows), fields);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0],
              (ImageEntry{"Mill", "1", "2", "3", "  a=b", "k", "href=\"x\" E=mc2", "m.jpg"}));
    EXPECT_EQ(read[1], Entry("Harbour", "h.jpg"));
    EXPECT_EQ(fields.templateFile, "t.htm");
    EXPECT_EQ(fields.outputFolder, "o=ut");
    EXPECT_EQ(fields.page, read[1]);
}

// Hand-edited files: every line counts, the last one too; blocks stage through the page fields.
TEST(ProjectFileTest, ReadsHandEditedFilesThroughThePageFields) {
    struct Case {
        const char* text;
        std::vector<std::string> titles;
        std::vector<std::string> heights;
    };
    const Case cases[] = {
        {"IMAGE=a\nTITLE=A\nHEIGHT=1\nIMAGE=b\nTITLE=B", {"A", "B"}, {"1", "1"}},
        {"IMAGE=\nTITLE=lost\nIMAGE=b\nHEIGHT=2\n", {"lost"}, {"2"}},
        {"title=no\nTITLE =no\nIMAGE=a\nTITLE= A  \t\n", {" A"}, {""}},
        {"IMAGE=a\nTITLE\n", {""}, {""}},
        {"CREATOR=x\n\nrandom\n", {}, {}},
    };
    for (const Case& c : cases) {
        ProjectFields fields;
        std::vector<std::string> titles, heights;
        for (const ImageEntry& entry : Read(c.text, fields)) {
            titles.push_back(entry.title);
            heights.push_back(entry.height);
        }
        EXPECT_EQ(titles, c.titles) << c.text;
        EXPECT_EQ(heights, c.heights) << c.text;
    }
}

// A pasted line end or Ctrl-Z must not cut the file: every later entry would be lost.
TEST(ProjectFileTest, StructureBytesInAValueAreWrittenAsSpaces) {
    EntryList rows;
    rows.InsertTop(Entry("after", "b.jpg"));
    rows.InsertTop(
        Entry("one\ntwo\x1A"
              "three",
              "a.jpg"));
    ProjectFields fields;
    const std::vector<ImageEntry> read =
        Read(DecodeTextMode(EncodeTextMode(FormatProjectText("t", "o", rows))), fields);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].title, "one two three");
    EXPECT_EQ(read[0].title, "after");
}

TEST(ProjectFileTest, KeepsSettingsTheFileDoesNotGiveAndStagesFromTheFieldsAsTheyStand) {
    ProjectFields fields{"mine.htm", "mine", Entry("Typed", "typed.jpg")};
    const std::vector<ImageEntry> read = Read("OUTPUT=web\n", fields);
    EXPECT_EQ(fields.templateFile, "mine.htm");
    EXPECT_EQ(fields.outputFolder, "web");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].title, "Typed");
}

}  // namespace
}  // namespace vistello
