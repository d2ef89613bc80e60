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

    // Rows end up in the order given, each with the image i.jpg: each Add puts its entry on top.
    void AddInOrder(const std::vector<std::string>& titles) {
        for (size_t i = titles.size(); i-- > 0;) {
            const std::string image = "pics/" + std::to_string(i) + ".jpg";
            WriteBytes(image, "image of " + titles[i]);
            AddEntry(titles[i], image);
        }
    }

    std::set<std::string> WebFiles() {
        std::set<std::string> names;
        for (const auto& item : fs::directory_iterator("web"))
            names.insert(item.path().filename().string());
        return names;
    }

    // The target of the page's link with this label, as a browser reads the unquoted attribute,
    // with its escapes decoded.
    static std::string LinkTarget(const std::string& page, const std::string& label) {
        const size_t close = page.find(">" + label + "</a>");
        if (close == std::string::npos) return {};
        const size_t open = page.rfind("<a href=", close) + 8;
        std::string target = page.substr(open, close - open);
        target = target.substr(0, target.find_first_of(" \t\r\n\"'<>`"));
        for (size_t at = target.find('%'); at != std::string::npos; at = target.find('%', at + 1))
            target.replace(at, 3, 1, static_cast<char>(std::stoi(target.substr(at + 1, 2), 0, 16)));
        return target;
    }
};

TEST_F(GenerateTest, WritesLinkedPagesAndCopiesImagesThenOpensTheFirst) {
    AddInOrder({"Day One", "Day Two", "Day Three"});
    system.answers = {MsgAnswer::Yes};
    window.Press(ids::kGenerate);
    const ShownBox question{"Your pages have been generated.\nWould you like to view them?",
                            "vistello", MsgButtons::YesNo, MsgIcon::Exclamation};
    EXPECT_EQ(system.boxes, std::vector<ShownBox>{question});
    EXPECT_EQ(system.opened, std::vector{(fs::current_path() / "web/day_one.htm").string()});
    EXPECT_EQ(ReadBytes("web/day_one.htm"),
              "|<a href=day_two.htm>Next</a>\r\n<img src=\"0.jpg\">\r\n");
    EXPECT_EQ(ReadBytes("web/day_two.htm"),
              "<a href=day_one.htm>Back</a>|<a href=day_three.htm>Next</a>\r\n"
              "<img src=\"1.jpg\">\r\n");
    EXPECT_EQ(ReadBytes("web/2.jpg"), "image of Day Three");
    EXPECT_EQ(window.Text(ids::kOutputFolder), "web/");
    EXPECT_EQ(window.Text(ids::kTitle), "Day Three");
}

// Nothing is copied or written when the template cannot be read or the folder is no folder.
TEST_F(GenerateTest, UnreadableTemplateOrMissingFolderStopsBeforeAnything) {
    ASSERT_EQ(::mkfifo("fifo.htm", 0600), 0);
    WriteBytes("file", "not a folder");
    AddInOrder({"Day"});
    const ShownBox unreadable{"Error loading file", "Error"};
    for (const char* name : {"missing.htm", "pics", "fifo.htm"}) {
        system.boxes.clear();
        window.Type(ids::kTemplate, name);
        window.Press(ids::kGenerate);
        EXPECT_EQ(system.boxes, std::vector<ShownBox>{unreadable}) << name;
    }
    window.Type(ids::kTemplate, "page.htm");
    for (const char* folder : {"nowhere", "file"}) {
        system.boxes.clear();
        window.Type(ids::kOutputFolder, folder);
        window.Press(ids::kGenerate);
        const ShownBox notFound{"Output folder not found:\r\n" + std::string(folder), "Error"};
        EXPECT_EQ(system.boxes, std::vector<ShownBox>{notFound});
    }
    EXPECT_TRUE(WebFiles().empty());
    EXPECT_FALSE(fs::exists("missing.htm") || fs::exists("nowhere") || fs::exists("0.jpg"));
}

TEST_F(GenerateTest, FailedPagesAndImagesAreCountedAndTheRestIsWritten) {
    AddInOrder({"Day One", "Day Two", "Day Three"});
    fs::remove("pics/0.jpg");
    WriteBytes("web/day_two.htm", "old page");
    fs::permissions("web/day_two.htm", fs::perms::owner_read);
    system.boxes.clear();
    window.Press(ids::kGenerate);
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{
                  {"Save to File", "Error Saving File."},
                  {"1 of 3 images could not be copied.\r\n1 of 3 pages could not be written.",
                   "vistello", MsgButtons::Ok, MsgIcon::Exclamation}}));
    EXPECT_EQ(ReadBytes("web/day_two.htm"), "old page");
    EXPECT_EQ(WebFiles(), (std::set<std::string>{"1.jpg", "2.jpg", "day_one.htm", "day_two.htm",
                                                 "day_three.htm"}));
}

// Every file before the page in hand is whole; nothing after it or half made is left.
TEST_F(GenerateTest, CancelStopsAfterThePageInHandAndSaysHowManyWereWritten) {
    AddInOrder({"P0", "P1", "P2", "P3", "P4"});
    system.boxes.clear();
    system.cancelAtStep = 2;
    window.Press(ids::kGenerate);
    EXPECT_EQ(WebFiles(), (std::set<std::string>{"0.jpg", "1.jpg", "p0.htm", "p1.htm"}));
    EXPECT_EQ(ReadBytes("web/1.jpg"), "image of P1");
    const ShownBox stopped{"Generating stopped: 2 of 5 pages were written.", "vistello",
                           MsgButtons::Ok, MsgIcon::Exclamation};
    EXPECT_EQ(system.boxes, std::vector<ShownBox>{stopped});
}

// Titles that give one page name, and names that need escapes in an address, still make a chain
// of distinct pages in list order, each showing its own image.
TEST_F(GenerateTest, FollowingTheLinksVisitsEveryPageInOrderAndBack) {
    const std::vector<std::string> titles = {"Day One",
                                             "Été à Paris",
                                             "What? #1 100%",
                                             "Q&A = \"yes\" <ok>",
                                             "Back\\slash: It",
                                             "Trip",
                                             "trip",
                                             "a b",
                                             "x/y",
                                             "a_b",
                                             "x_y",
                                             "trip_2"};
    AddInOrder(titles);
    window.Press(ids::kGenerate);

    std::vector<std::string> visited = {"day_one.htm"};
    for (std::string next = LinkTarget(ReadBytes("web/day_one.htm"), "Next"); !next.empty();
         next = LinkTarget(ReadBytes("web/" + next), "Next")) {
        ASSERT_LT(visited.size(), titles.size()) << "the links run in a circle";
        visited.push_back(next);
    }
    ASSERT_EQ(visited.size(), titles.size());
    for (size_t i = 0; i < titles.size(); ++i) {
        const std::string page = ReadBytes("web/" + visited[i]);
        EXPECT_NE(page.find("src=\"" + std::to_string(i) + ".jpg\""), std::string::npos) << i;
        EXPECT_EQ(LinkTarget(page, "Back"), i == 0 ? "" : visited[i - 1]);
    }
    EXPECT_EQ(WebFiles().size(), 2 * titles.size());
}

}  // namespace
}  // namespace vistello::testing
