#include "project/project_file.h"

#include <gtest/gtest.h>

#include "files/text_file.h"
#include "slides/entry_list.h"

namespace vistello {
namespace {

// The entries read, by value, in the order read.
std::vector<ImageEntry> Read(std::string_view text, ProjectFields& fields) {
    std::vector<ImageEntry> entries;
    for (const auto& entry : ParseProjectText(text, fields)) entries.push_back(*entry);
    return entries;
}

// The bottom row is written first. Through the disk format, values come back but for trailing
// white space; a pasted line end or Ctrl-Z is written as a space, or it would cut the file and
// lose every later entry.
TEST(ProjectFileTest, ReadsWhatItWroteInTheOrderWritten) {
    EntryList rows;
    rows.InsertTop({"Mill\nby\x1Ariver  ", "1", "2", "3", "  a=b", "k", "href=\"x\" E=mc2", "m"});
    rows.InsertTop({"Harbour", "", "", "", "", "", "", "h.jpg"});
    const std::string text = FormatProjectText("t.htm", "o=ut", WebSettings{}, rows);
    EXPECT_TRUE(
        text.starts_with("CREATOR=Vistello 1.0\nTEMPLATE=t.htm\nOUTPUT=o=ut\nIMAGE=m\n"
                         "TITLE=Mill by river  \nHEIGHT=1\n"));
    ProjectFields fields;
    const std::vector<ImageEntry> read = Read(DecodeTextMode(EncodeTextMode(text)), fields);
    EXPECT_EQ(read, (std::vector<ImageEntry>{
                        {"Mill by river", "1", "2", "3", "  a=b", "k", "href=\"x\" E=mc2", "m"},
                        {"Harbour", "", "", "", "", "", "", "h.jpg"}}));
    EXPECT_EQ(fields.templateFile + "|" + fields.outputFolder, "t.htm|o=ut");
}

// Hand-edited files: only exact keys count, every line does, the last one too, and a block
// without an image adds nothing. Blocks stage through the page fields, which start as the
// window holds them.
TEST(ProjectFileTest, ReadsHandEditedFilesThroughThePageFields) {
    ProjectFields fields;
    std::vector<std::string> read;
    for (const ImageEntry& entry : Read("title=no\nTITLE =no\nIMAGE=a\nTITLE= A  \t\nHEIGHT=1\n"
                                        "IMAGE=\nTITLE=lost\nIMAGE=b\nTITLE=B",
                                        fields))
        read.push_back(entry.title + "/" + entry.height + "/" + entry.imagePath);
    EXPECT_EQ(read, (std::vector<std::string>{" A/1/a", "B/1/b"}));
    const ImageEntry typed{"Typed", "", "", "", "", "", "", "typed.jpg"};
    fields = ProjectFields{};
    fields.templateFile = "mine.htm";
    fields.outputFolder = "mine";
    fields.page = typed;
    EXPECT_EQ(Read("OUTPUT=web\n", fields), std::vector<ImageEntry>{typed});
    EXPECT_EQ(fields.templateFile, "mine.htm");
}

// Web settings are written after the output folder, each only when set, and read back; a value
// that is no number in its range, hand-typed, reads as unset.
TEST(ProjectFileTest, KeepsWebSettingsThatAreSet) {
    EntryList rows;
    const WebSettings web{16384, 100, 16, true, "over view.htm", false, "a/b c.jpg"};
    const std::string text = FormatProjectText("t.htm", "", web, rows);
    EXPECT_EQ(text,
              "CREATOR=Vistello 1.0\nTEMPLATE=t.htm\nOUTPUT=\nWEBSIDE=16384\nWEBQUALITY=100\n"
              "THUMBSIDE=16\nWEBDETAILS=yes\nOVERVIEW=over view.htm\nCOVER=a/b c.jpg\n");
    ProjectFields fields;
    Read(text, fields);
    EXPECT_EQ(fields.web, web);
    Read("WEBSIDE=99999\nWEBQUALITY=0\nTHUMBSIDE=4OO\nWEBDETAILS=Yes\n", fields);
    EXPECT_EQ(fields.web, (WebSettings{0, 85, 0, false, "over view.htm", false, "a/b c.jpg"}));
}

}  // namespace
}  // namespace vistello
