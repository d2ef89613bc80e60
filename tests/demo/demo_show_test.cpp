#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>

#include "demo/demo_workspace.h"
#include "platform/current_dir_guard.h"
#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::demo {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;

const fs::path kTemplates = fs::path(VISTELLO_SOURCE_DIR) / "templates";

// The target of the page's link with this text, e.g. "Next".
std::optional<std::string> LinkTarget(const std::string& page, std::string_view text) {
    const size_t end = page.find(">" + std::string(text) + "</a>");
    if (end == std::string::npos) return std::nullopt;
    const size_t start = page.rfind("<a href=", end) + 8;
    return page.substr(start, end - start);
}

// The page's image file, as the template quotes it.
std::string ImageSource(const std::string& page) {
    const size_t start = page.find(" src=\"") + 6;
    return page.substr(start, page.find('"', start) - start);
}

// What tidy says about the page, through the report file; nothing when it has nothing to say.
std::string Tidy(const fs::path& page, const std::string& report) {
    const std::string command = "tidy -errors -q '" + page.string() + "' > '" + report + "' 2>&1";
    const int status = std::system(command.c_str());
    return status == 0 ? "" : "status " + std::to_string(status) + ": " + ReadBytes(report);
}

class DemoShowTest : public ::testing::Test {
protected:
    DemoShowTest() {
        EXPECT_EQ(MakeDemoWorkspace(kTemplates, demo), DemoResult::Made);
        fs::current_path(demo);
    }

    const CurrentDirGuard restore;
    testing::TempDir dir;
    const fs::path demo = dir.Path() / "demo";
    const fs::path show = demo / kDemoOutput;
    testing::FakeWindowSystem system;
    CMainDialog dialog;
};

TEST_F(DemoShowTest, IsMadeOnceAndLeftAsTheUserLeftIt) {
    testing::WriteBytes(kDemoProject, "edited");
    EXPECT_EQ(MakeDemoWorkspace(kTemplates, demo), DemoResult::AlreadyThere);
    EXPECT_EQ(ReadBytes(kDemoProject), "edited");
    EXPECT_THROW(MakeDemoWorkspace(dir / "no templates", dir / "other"), std::exception);
    EXPECT_EQ(dir.Names(), std::set<std::string>{"demo"});
}

TEST_F(DemoShowTest, GenerateAtOnceMakesAShowWhoseLinksAllResolve) {
    testing::FakeWindow window(system, dialog);
    system.answers = {MsgAnswer::Yes};
    window.Press(ids::kGenerate);

    std::vector<std::string> pages;
    std::optional<std::string> next = fs::path(system.opened.at(0)).filename().string();
    for (; next && pages.size() < 10; next = LinkTarget(ReadBytes(show / *next), "Next")) {
        const std::string page = ReadBytes(show / *next);
        EXPECT_EQ(LinkTarget(page, "Back"),
                  pages.empty() ? std::nullopt : std::optional(pages.back()));
        EXPECT_TRUE(fs::is_regular_file(show / ImageSource(page))) << *next;
        pages.push_back(*next);
    }
    EXPECT_EQ(pages.front(), "dawn_over_the_hills.htm");
    EXPECT_EQ(pages.size(), 6u);
}

TEST_F(DemoShowTest, EveryShippedTemplateHoldsEveryTagAndMakesPagesTidyAccepts) {
    testing::FakeWindow window(system, dialog);
    std::set<std::string> tried;
    for (const fs::directory_entry& shipped : fs::directory_iterator(kTemplates)) {
        const std::string name = shipped.path().filename().string();
        SCOPED_TRACE(name);
        const std::string text = ReadBytes(shipped.path().string());
        for (const char* tag :
             {"<<BACK>>", "<<NEXT>>", "<<IMAGEPATH>>", "<<IMAGETITLE>>", "<<DESCRIPTION>>",
              "<<KEYWORDS>>", "<<ALT>>", "<<WIDTH>>", "<<HEIGHT>>", "<<BORDER>>"}) {
            EXPECT_NE(text.find(tag), std::string::npos) << tag;
        }
        window.Type(ids::kTemplate, name);
        window.Press(ids::kGenerate);
        for (const fs::directory_entry& page : fs::directory_iterator(show)) {
            if (page.path().extension() != ".htm") continue;
            EXPECT_EQ(Tidy(page.path(), dir / "tidy.txt"), "") << page.path().filename();
        }
        tried.insert(name);
    }
    EXPECT_EQ(tried, (std::set<std::string>{"dark.htm", "light.htm"}));
}

}  // namespace
}  // namespace vistello::demo
