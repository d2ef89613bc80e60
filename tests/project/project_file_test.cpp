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

// Through the disk format, values come back but for trailing white space; a pasted line end or
// Ctrl-Z is written as a space, or it would cut the file and lose every later entry.
TEST(ProjectFileTest, ReadsWhatItWroteInTheOrderWritten) {
    EntryList rows;
    rows.InsertTop({"Mill\nby\x1Ariver  ", "1", "2", "3", "  a=b", "k", "href=\"x\" E=mc2", "m"});
    rows.InsertTop(Entry("Harbour", "h.jpg"));
    ProjectFields fields;
    const std::vector<ImageEntry> read =
        Read(DecodeTextMode(EncodeTextMode(FormatProjectText("t.htm", "o=ut", rows))), fields);
    EXPECT_EQ(read, (std::vector<ImageEntry>{
                        {"Mill by river", "1", "2", "3", "  a=b", "k", "href=\"x\" E=mc2", "m"},
                        Entry("Harbour", "h.jpg")}));
    EXPECT_EQ(fields.templateFile, "t.htm");
    EXPECT_EQ(fields.outputFolder, "o=ut");
    EXPECT_EQ(fields.page, read[1]);
}

// Hand-edited files: every line counts, the last one too; blocks stage through the page fields.
TEST(ProjectFileTest, ReadsHandEditedFilesThroughThePageFields) {
    const struct {
        const char* text;
        std::vector<std::string> titles;
        std::vector<std::string> heights;
    } cases[] = {
        {"IMAGE=a\nTITLE=A\nHEIGHT=1\nIMAGE=b\nTITLE=B", {"A", "B"}, {"1", "1"}},
        {"IMAGE=\nTITLE=lost\nIMAGE=b\nHEIGHT=2\n", {"lost"}, {"2"}},
        {"title=no\nTITLE =no\nIMAGE=a\nTITLE= A  \t\n", {" A"}, {""}},
        {"IMAGE=a\nTITLE\n", {""}, {""}},
        {"CREATOR=x\n\nrandom\n", {}, {}},
    };
    for (const auto& c : cases) {
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

// The fields start as the window holds them: what the file leaves out stays, and the typed page
// is staged as an entry.
TEST(ProjectFileTest, KeepsSettingsTheFileDoesNotGiveAndStagesTheFieldsAsTheyStand) {
    ProjectFields fields{"mine.htm", "mine", Entry("Typed", "typed.jpg")};
    EXPECT_EQ(Read("OUTPUT=web\n", fields), std::vector<ImageEntry>{Entry("Typed", "typed.jpg")});
    EXPECT_EQ(fields.templateFile, "mine.htm");
    EXPECT_EQ(fields.outputFolder, "web");
}

}  // namespace
}  // namespace vistello
