#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>

#include "demo/demo_workspace.h"
#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using demo::kDemoOutput;

const fs::path kTemplates = fs::path(VISTELLO_SOURCE_DIR) / "templates";

// The target of the page's link with this text, e.g. "Next".
std::optional<std::string> LinkTarget(const std::string& page, const std::string& text) {
    const size_t end = page.find(std::string(">").append(text).append("</a>"));
    if (end == std::string::npos) return std::nullopt;
    const size_t start = page.rfind("<a href=", end) + 8;
    return page.substr(start, end - start);
}

class DemoShowTest : public ::testing::Test {
protected:
    DemoShowTest() {
        EXPECT_EQ(demo::MakeDemoWorkspace(kTemplates, "demo"), demo::DemoResult::Made);
        fs::current_path("demo");
    }

    ScratchDir scratch;
    const fs::path show = fs::current_path() / "demo" / kDemoOutput;
    FakeWindowSystem system;
    CMainDialog dialog;
};

// Pressing Generate at once gives a show whose every link and image resolves; a second making
// leaves the workspace as the user left it.
TEST_F(DemoShowTest, GenerateAtOnceMakesAShowWhoseLinksAllResolve) {
    FakeWindow window(system, dialog);
    system.answers = {MsgAnswer::Yes};
    window.Press(ids::kGenerate);
    std::vector<std::string> pages;
    std::optional<std::string> next = fs::path(system.opened.at(0)).filename().string();
    for (; next && pages.size() < 10; next = LinkTarget(ReadBytes(show / *next), "Next")) {
        const std::string page = ReadBytes(show / *next);
        EXPECT_EQ(LinkTarget(page, "Back"),
                  pages.empty() ? std::nullopt : std::optional(pages.back()));
        const size_t src = page.find(" src=\"") + 6;
        EXPECT_TRUE(fs::is_regular_file(show / page.substr(src, page.find('"', src) - src)));
        pages.push_back(*next);
    }
    EXPECT_EQ(pages.front(), "dawn_over_the_hills.htm");
    EXPECT_EQ(pages.size(), 6u);

    WriteBytes(demo::kDemoProject, "edited");
    EXPECT_EQ(demo::MakeDemoWorkspace(kTemplates, "."), demo::DemoResult::AlreadyThere);
    EXPECT_EQ(ReadBytes(demo::kDemoProject), "edited");
}

TEST_F(DemoShowTest, EveryShippedTemplateHoldsEveryTagAndMakesPagesTidyAccepts) {
    FakeWindow window(system, dialog);
    std::set<std::string> tried;
    for (const fs::directory_entry& shipped : fs::directory_iterator(kTemplates)) {
        const std::string name = shipped.path().filename().string();
        const std::string text = ReadBytes(shipped.path().string());
        for (const char* tag :
             {"<<BACK>>", "<<NEXT>>", "<<IMAGEPATH>>", "<<IMAGETITLE>>", "<<DESCRIPTION>>",
              "<<KEYWORDS>>", "<<ALT>>", "<<WIDTH>>", "<<HEIGHT>>", "<<BORDER>>"})
            EXPECT_NE(text.find(tag), std::string::npos) << name << tag;
        window.Type(ids::kTemplate, name);
        window.Press(ids::kGenerate);
        for (const fs::directory_entry& page : fs::directory_iterator(show)) {
            if (page.path().extension() != ".htm") continue;
            const std::string command = "tidy -errors -q '" + page.path().string() + "' 2>tidy.txt";
            EXPECT_EQ(std::system(command.c_str()), 0) << page.path() << ReadBytes("tidy.txt");
        }
        tried.insert(name);
    }
    EXPECT_EQ(tried, (std::set<std::string>{"dark.htm", "light.htm"}));
}

}  // namespace
}  // namespace vistello::testing
