#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/current_dir_guard.h"
#include "support/main_window_fixture.h"
#include "support/temp_dir.h"

namespace vistello {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ShownBox;
using testing::TempDir;
using testing::WriteBytes;

constexpr const char* kQuestion = "Your pages have been generated.\nWould you like to view them?";

class GenerateTest : public testing::MainWindowTest {
protected:
    GenerateTest() {
        fs::create_directories(dir / "web");
        fs::create_directories(dir / "pics");
        WriteBytes(templatePath, "<<BACK>>|<<NEXT>>\n<img src=<<IMAGEPATH>> alt=<<ALT>>>\n");
        window.Type(ids::kTemplate, templatePath);
        window.Type(ids::kOutputFolder, webFolder);
    }

    // Rows end up in the order given, each with the image i.jpg: each Add puts its entry on top.
    void AddInOrder(const std::vector<std::string>& titles) {
        for (size_t i = titles.size(); i-- > 0;) {
            const std::string image = dir / ("pics/" + std::to_string(i) + ".jpg");
            WriteBytes(image, "image of " + titles[i]);
            AddEntry(titles[i], image);
        }
    }

    std::string Page(const std::string& name) { return ReadBytes(webFolder + "/" + name); }

    std::set<std::string> WebFiles() {
        std::set<std::string> names;
        for (const auto& item : fs::recursive_directory_iterator(dir / "web")) {
            names.insert(fs::relative(item.path(), dir / "web").string());
        }
        return names;
    }

    static void ExpectBoxes(const std::vector<ShownBox>& shown,
                            const std::vector<ShownBox>& expected) {
        ASSERT_EQ(shown.size(), expected.size());
        for (size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i].text, expected[i].text);
            EXPECT_EQ(shown[i].caption, expected[i].caption);
            EXPECT_EQ(shown[i].buttons, expected[i].buttons);
            EXPECT_EQ(shown[i].icon, expected[i].icon);
        }
    }

    TempDir dir;
    std::string templatePath = dir / "template.htm";
    std::string webFolder = dir / "web";
};

TEST_F(GenerateTest, WritesLinkedPagesAndCopiesImagesThenOpensTheFirst) {
    AddInOrder({"Day One", "Day Two", "Day Three"});
    system.boxes.clear();
    system.answers = {MsgAnswer::Yes};
    window.Press(ids::kGenerate);

    ExpectBoxes(system.boxes, {{kQuestion, "vistello", MsgButtons::YesNo, MsgIcon::Exclamation}});
    EXPECT_EQ(system.opened, std::vector<std::string>{webFolder + "/day_one.htm"});
    EXPECT_EQ(Page("day_one.htm"),
              "|<a href=day_two.htm>Next</a>\r\n<img src=\"0.jpg\" alt=\"\">\r\n");
    EXPECT_EQ(Page("day_two.htm"),
              "<a href=day_one.htm>Back</a>|<a href=day_three.htm>Next</a>\r\n"
              "<img src=\"1.jpg\" alt=\"\">\r\n");
    EXPECT_EQ(Page("day_three.htm"),
              "<a href=day_two.htm>Back</a>|\r\n<img src=\"2.jpg\" alt=\"\">\r\n");
    EXPECT_EQ(Page("1.jpg"), "image of Day Two");
    EXPECT_EQ(window.Text(ids::kOutputFolder), webFolder + "/");
    EXPECT_EQ(window.Text(ids::kTemplate), templatePath);
    EXPECT_EQ(window.Text(ids::kTitle), "Day Three");
    EXPECT_EQ(window.Text(ids::kImagePath), dir / "pics/2.jpg");
}

TEST_F(GenerateTest, SingleEntryHasNoLinksAndAnsweringNoOpensNothing) {
    AddInOrder({"Only"});
    window.Type(ids::kOutputFolder, webFolder + "/");
    window.Press(ids::kGenerate);
    EXPECT_EQ(Page("only.htm"), "|\r\n<img src=\"0.jpg\" alt=\"\">\r\n");
    EXPECT_EQ(window.Text(ids::kOutputFolder), webFolder + "/");
    EXPECT_TRUE(system.opened.empty());
}

TEST_F(GenerateTest, EmptyListRestoresTheTagsAndWritesNothing) {
    dialog.m_tags.alt = "[alt]";
    window.Press(ids::kGenerate);
    TagSet expected;
    expected.FillEmptyWithDefaults();
    expected.alt = "[alt]";
    EXPECT_EQ(dialog.m_tags, expected);
    ExpectBoxes(system.boxes,
                {{"Please add some pictures before generating your slide show.\r\nSimply fill in "
                  "the page details and press the Add button to add an image.",
                  "Empty List", MsgButtons::Ok, MsgIcon::None}});
    EXPECT_TRUE(WebFiles().empty());
}

TEST_F(GenerateTest, EmptyAndRelativeSettingsUseTheCurrentDirectory) {
    const CurrentDirGuard restore;
    fs::current_path(dir.Path());
    window.Type(ids::kTemplate, "");
    window.Type(ids::kOutputFolder, "");
    AddInOrder({"Here"});
    system.answers = {MsgAnswer::Yes};
    window.Press(ids::kGenerate);
    EXPECT_EQ(ReadBytes(dir / "here.htm"), "|\r\n<img src=\"0.jpg\" alt=\"\">\r\n");
    EXPECT_EQ(ReadBytes(dir / "0.jpg"), "image of Here");
    EXPECT_EQ(window.Text(ids::kTemplate), "");
    EXPECT_EQ(window.Text(ids::kOutputFolder), "");
    EXPECT_EQ(system.opened, std::vector<std::string>{dir / "here.htm"});

    window.Type(ids::kOutputFolder, "web");
    window.Press(ids::kGenerate);
    EXPECT_EQ(WebFiles(), (std::set<std::string>{"0.jpg", "here.htm"}));
    EXPECT_EQ(window.Text(ids::kOutputFolder), "web/");
}

TEST_F(GenerateTest, TemplateIsReadInTextModeAndPagesEndWhereCtrlZStood) {
    WriteBytes(templatePath, "a\r\nb\n<<IMAGETITLE>>\rc\x1A<<NEXT>>");
    AddInOrder({"T1", "T2"});
    window.Press(ids::kGenerate);
    EXPECT_EQ(Page("t1.htm"), "a\r\nb\r\nT1\rc");
}

TEST_F(GenerateTest, UnreadableTemplateStopsBeforeAnythingIsCopiedOrWritten) {
    ASSERT_EQ(::mkfifo((dir / "fifo.htm").c_str(), 0600), 0);
    for (const std::string& name : {dir / "missing.htm", dir / "pics", dir / "fifo.htm"}) {
        SCOPED_TRACE(name);
        system.boxes.clear();
        AddInOrder({"Day " + name});
        window.Type(ids::kTemplate, name);
        window.Press(ids::kGenerate);
        ExpectBoxes(system.boxes, {{"Error loading file", "Error", MsgButtons::Ok, MsgIcon::None}});
        EXPECT_TRUE(WebFiles().empty());
        EXPECT_FALSE(fs::exists(dir / "missing.htm"));
    }
}

TEST_F(GenerateTest, OutputFolderThatIsNoFolderStopsTheRun) {
    WriteBytes(dir / "file", "not a folder");
    AddInOrder({"Day One"});
    for (const std::string& folder : {dir / "nowhere", dir / "file"}) {
        SCOPED_TRACE(folder);
        system.boxes.clear();
        window.Type(ids::kOutputFolder, folder);
        window.Press(ids::kGenerate);
        ExpectBoxes(system.boxes, {{"Output folder not found:\r\n" + folder, "Error",
                                    MsgButtons::Ok, MsgIcon::None}});
        EXPECT_FALSE(fs::exists(dir / "nowhere"));
        EXPECT_EQ(ReadBytes(dir / "file"), "not a folder");
        EXPECT_FALSE(fs::exists(dir / "0.jpg"));
    }
}

TEST_F(GenerateTest, FailedPagesAndImagesAreCountedAndTheRestIsWritten) {
    AddInOrder({"Day One", "Day Two", "Day Three"});
    fs::remove(dir / "pics/0.jpg");
    WriteBytes(webFolder + "/day_two.htm", "old page");
    fs::permissions(webFolder + "/day_two.htm", fs::perms::owner_read);
    system.boxes.clear();
    system.answers = {MsgAnswer::Ok, MsgAnswer::Yes};
    window.Press(ids::kGenerate);
    ExpectBoxes(system.boxes,
                {{"Save to File", "Error Saving File.", MsgButtons::Ok, MsgIcon::None},
                 {"1 of 3 images could not be copied.\r\n1 of 3 pages could not be written.",
                  "vistello", MsgButtons::Ok, MsgIcon::Exclamation}});
    EXPECT_EQ(Page("day_two.htm"), "old page");
    EXPECT_EQ(WebFiles(), (std::set<std::string>{"1.jpg", "2.jpg", "day_one.htm", "day_two.htm",
                                                 "day_three.htm"}));
    EXPECT_TRUE(system.opened.empty());
    EXPECT_EQ(window.Text(ids::kTitle), "Day Three");
}

// Cancel stops after the page in hand: every file before it is whole, nothing after it or half
// made is left, and one box counts the pages.
TEST_F(GenerateTest, CancelStopsAfterThePageInHandAndSaysHowManyWereWritten) {
    const std::vector<std::string> titles = {"P0", "P1", "P2", "P3", "P4"};
    AddInOrder(titles);
    for (const int cancelAt : {1, 3, 5}) {
        SCOPED_TRACE(cancelAt);
        fs::remove_all(webFolder);
        fs::create_directories(webFolder);
        system.boxes.clear();
        system.progressSteps.clear();
        system.cancelAtStep = cancelAt;
        window.Press(ids::kGenerate);

        std::vector<int> steps;
        std::set<std::string> files;
        for (int row = 0; row < cancelAt; ++row) {
            steps.push_back(row + 1);
            const std::string number = std::to_string(row);
            files.insert(number + ".jpg");
            files.insert(std::string("p").append(number).append(".htm"));
        }
        EXPECT_EQ(system.progressSteps, steps);
        EXPECT_EQ(WebFiles(), files);
        EXPECT_EQ(Page(std::to_string(cancelAt - 1) + ".jpg"),
                  "image of P" + std::to_string(cancelAt - 1));
        ExpectBoxes(system.boxes, {{"Generating stopped: " + std::to_string(cancelAt) +
                                        " of 5 pages were written.",
                                    "vistello", MsgButtons::Ok, MsgIcon::Exclamation}});
    }
    EXPECT_EQ(system.progressTotals, (std::vector<int>{5, 5, 5}));
    EXPECT_TRUE(system.opened.empty());
}

TEST_F(GenerateTest, ImageAlreadyInTheOutputFolderStaysAsItWas) {
    const std::string image = webFolder + "/photo.jpg";
    WriteBytes(image, "original bytes");
    AddEntry("Photo", webFolder + "/./photo.jpg");
    window.Press(ids::kGenerate);
    EXPECT_EQ(ReadBytes(image), "original bytes");
    EXPECT_EQ(WebFiles(), (std::set<std::string>{"photo.htm", "photo.jpg"}));
}

std::string PercentDecoded(const std::string& target) {
    std::string name;
    for (size_t i = 0; i < target.size(); ++i) {
        if (target[i] == '%' && i + 2 < target.size()) {
            name.push_back(static_cast<char>(std::stoi(target.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            name.push_back(target[i]);
        }
    }
    return name;
}

// The target of the page's link with this label, as a browser would read the unquoted
// attribute: up to the first blank, quote or closing bracket.
std::string LinkTarget(const std::string& page, const std::string& label) {
    const std::string end = ">" + label + "</a>";
    const size_t close = page.find(end);
    if (close == std::string::npos) return {};
    const size_t open = page.rfind("<a href=", close) + 8;
    const std::string attribute = page.substr(open, close - open);
    return attribute.substr(0, attribute.find_first_of(" \t\r\n\"'<>`"));
}

TEST_F(GenerateTest, FollowingTheLinksVisitsEveryPageInOrderAndBack) {
    const std::vector<std::string> titles = {"Day One",
                                             "Été à Paris",
                                             "What? #1 100%",
                                             "a/b Trip",
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
    for (std::string target = LinkTarget(Page(visited.back()), "Next"); !target.empty();
         target = LinkTarget(Page(visited.back()), "Next")) {
        ASSERT_LT(visited.size(), titles.size()) << "the links run in a circle";
        visited.push_back(PercentDecoded(target));
        ASSERT_TRUE(fs::is_regular_file(webFolder + "/" + visited.back())) << target;
    }
    ASSERT_EQ(visited.size(), titles.size());
    for (size_t i = 0; i < titles.size(); ++i) {
        EXPECT_NE(Page(visited[i]).find("<img src=\"" + std::to_string(i) + ".jpg\""),
                  std::string::npos)
            << visited[i];
    }
    std::string page = visited.back();
    for (size_t back = titles.size() - 1; back > 0; --back) {
        page = PercentDecoded(LinkTarget(Page(page), "Back"));
        EXPECT_EQ(page, visited[back - 1]);
    }
    EXPECT_EQ(LinkTarget(Page(page), "Back"), "");
    EXPECT_EQ(WebFiles().size(), 2 * titles.size());
}

}  // namespace
}  // namespace vistello
