#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

class GenerateTest : public MainWindowTest {
protected:
    GenerateTest() {
        fs::create_directories("web");
        fs::create_directories("pics");
        WriteBytes("page.htm", "<<BACK>>|<<NEXT>>\n<img src=<<IMAGEPATH>>>\n");
        window.Type(ids::kTemplate, "page.htm");
        window.Type(ids::kOutputFolder, "web");
    }

    std::set<std::string> WebFiles() {
        std::set<std::string> names;
        for (const auto& item : fs::directory_iterator("web"))
            names.insert(item.path().filename().string());
        return names;
    }
};

// Titles of one page name get numbered names in list order, names that need it are escaped in
// the links, and each page links to its neighbours and shows its own image.
TEST_F(GenerateTest, WritesLinkedPagesAndCopiesImagesThenOpensTheFirst) {
    // Each Add puts its entry on top.
    for (const auto& [title, image] :
         {std::pair{"trip", "2.jpg"}, std::pair{"What? #1", "1.jpg"}, std::pair{"Trip", "0.jpg"}}) {
        WriteBytes(std::string("pics/") + image, title);
        AddEntry(title, std::string("pics/") + image);
    }
    system.answers = {MsgAnswer::Yes};
    window.Press(ids::kGenerate);
    const ShownBox question{"Your pages have been generated.\nWould you like to view them?",
                            "vistello", MsgButtons::YesNo, MsgIcon::Exclamation};
    EXPECT_EQ(system.boxes, std::vector<ShownBox>{question});
    EXPECT_EQ(system.opened, std::vector{(fs::current_path() / "web/trip.htm").string()});
    EXPECT_EQ(ReadBytes("web/trip.htm"),
              "|<a href=what%3F_%231.htm>Next</a>\r\n<img src=\"0.jpg\">\r\n");
    EXPECT_EQ(ReadBytes("web/what?_#1.htm"),
              "<a href=trip.htm>Back</a>|<a href=trip_2.htm>Next</a>\r\n<img src=\"1.jpg\">\r\n");
    EXPECT_EQ(ReadBytes("web/trip_2.htm"),
              "<a href=what%3F_%231.htm>Back</a>|\r\n<img src=\"2.jpg\">\r\n");
    EXPECT_EQ(ReadBytes("web/2.jpg"), "trip");
    EXPECT_EQ(WebFiles().size(), 6u);
    EXPECT_EQ(window.Text(ids::kOutputFolder), "web/");
    EXPECT_EQ(window.Text(ids::kTitle), "trip");
}

// Nothing is copied or written when the template cannot be read or the folder is no folder.
TEST_F(GenerateTest, UnreadableTemplateOrMissingFolderStopsBeforeAnything) {
    ASSERT_EQ(::mkfifo("fifo.htm", 0600), 0);
    WriteBytes("file", "not a folder");
    AddEntry("Day");
    const std::pair<std::string, std::string> cases[] = {{"missing.htm", "web"},
                                                         {"pics", "web"},
                                                         {"fifo.htm", "web"},
                                                         {"page.htm", "nowhere"},
                                                         {"page.htm", "file"}};
    for (const auto& [page, folder] : cases) {
        system.boxes.clear();
        window.Type(ids::kTemplate, page);
        window.Type(ids::kOutputFolder, folder);
        window.Press(ids::kGenerate);
        const ShownBox box = folder == "web"
                                 ? ShownBox{"Error loading file", "Error"}
                                 : ShownBox{"Output folder not found:\r\n" + folder, "Error"};
        EXPECT_EQ(system.boxes, std::vector{box}) << page << folder;
    }
    EXPECT_TRUE(WebFiles().empty());
    EXPECT_FALSE(fs::exists("missing.htm") || fs::exists("nowhere") || fs::exists("0.jpg"));
}

// A missing image, a FIFO in the way, a name another image has, a read-only page and a page
// that would grow past the size limit each count as failed; the run goes on and replaces none,
// and the question whether to view the pages is not asked. An image already in the folder
// counts as copied.
TEST_F(GenerateTest, FailedPagesAndImagesAreCountedAndTheRestIsWritten) {
    fs::create_directories("other");
    for (const char* image : {"pics/a.jpg", "pics/fifo.jpg", "other/a.jpg", "web/here.jpg"})
        WriteBytes(image, image);
    ASSERT_EQ(::mkfifo("web/fifo.jpg", 0600), 0);
    WriteBytes("page.htm", "<<IMAGETITLE>>");
    AddEntry("Old", "pics/a.jpg");
    AddEntry("Other A", "other/a.jpg");
    AddEntry("Here", "web/./here.jpg");
    AddEntry("Fifo", "pics/fifo.jpg");
    AddEntry("Missing", "pics/missing.jpg");
    window.Press(ids::kGenerate);
    const ShownBox imagesFailed{"3 of 5 images could not be copied.", "vistello", MsgButtons::Ok,
                                MsgIcon::Exclamation};
    EXPECT_EQ(system.boxes, std::vector{imagesFailed});

    fs::permissions("web/old.htm", fs::perms::owner_read);
    WriteBytes("page.htm", "<<IMAGETITLE>>!");
    std::string runaway, keywords;
    for (int i = 0; i < 3000; ++i) {
        runaway += "<<ALT>>";
        keywords += "<<KEYWORDS>>";
    }
    window.Type(ids::kAlt, keywords);
    AddEntry(runaway, "pics/a.jpg");
    system.boxes.clear();
    window.Press(ids::kGenerate);
    const ShownBox pageFailed{"Save to File", "Error Saving File."};
    const ShownBox bothFailed{
        "3 of 6 images could not be copied.\r\n2 of 6 pages could not be written.", "vistello",
        MsgButtons::Ok, MsgIcon::Exclamation};
    EXPECT_EQ(system.boxes, (std::vector{pageFailed, pageFailed, bothFailed}));
    EXPECT_EQ(ReadBytes("web/old.htm"), "Old");
    EXPECT_EQ(ReadBytes("web/a.jpg"), "pics/a.jpg");
    EXPECT_EQ(ReadBytes("web/here.jpg"), "web/here.jpg");
    EXPECT_TRUE(fs::is_fifo("web/fifo.jpg"));
    EXPECT_EQ(WebFiles().size(), 8u);
}

// Titles that try to leave the output folder write inside it.
TEST_F(GenerateTest, TitlesThatLeadOutsideTheFolderStayInsideIt) {
    WriteBytes("pics/a.jpg", "a");
    const std::string titles[] = {"..", "../x", "/etc/x", std::string("..\0/x", 5),
                                  std::string(300, '.') + "/x"};
    for (const std::string& title : titles) AddEntry(title, "pics/a.jpg");
    window.Press(ids::kGenerate);
    EXPECT_EQ(scratch.Names(),
              (std::set<std::string>{"page.htm", "pics", "vistello.dat", "vistello.ini", "web"}));
    EXPECT_EQ(WebFiles().size(), std::size(titles) + 1);
}

}  // namespace
}  // namespace vistello::testing
