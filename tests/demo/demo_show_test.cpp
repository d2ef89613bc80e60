#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "demo/demo_workspace.h"
#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

// Each shipped template, in the demo workspace, makes a show of pages that tidy accepts and
// whose images are all there; making the workspace again leaves it as the user left it.
TEST(DemoShowTest, EveryShippedTemplateMakesAShowTidyAccepts) {
    const fs::path templates = fs::path(VISTELLO_SOURCE_DIR) / "templates";
    ScratchDir scratch;
    ASSERT_EQ(demo::MakeDemoWorkspace(templates, "demo"), demo::DemoResult::Made);
    fs::current_path("demo");
    FakeWindowSystem system;
    CMainDialog dialog;
    FakeWindow window(system, dialog);
    std::set<std::string> tried;
    for (const fs::directory_entry& shipped : fs::directory_iterator(templates)) {
        const std::string name = shipped.path().filename().string();
        const std::string text = ReadBytes(shipped.path().string());
        for (const char* tag :
             {"<<BACK>>", "<<NEXT>>", "<<IMAGEPATH>>", "<<IMAGETITLE>>", "<<DESCRIPTION>>",
              "<<KEYWORDS>>", "<<ALT>>", "<<WIDTH>>", "<<HEIGHT>>", "<<BORDER>>"})
            EXPECT_NE(text.find(tag), std::string::npos) << name << tag;
        window.Type(ids::kTemplate, name);
        window.Press(ids::kGenerate);
        int pages = 0;
        for (const fs::directory_entry& page : fs::directory_iterator(demo::kDemoOutput)) {
            if (page.path().extension() != ".htm") continue;
            const std::string html = ReadBytes(page.path());
            const size_t src = html.find(" src=\"") + 6;
            const std::string image = html.substr(src, html.find('"', src) - src);
            EXPECT_TRUE(fs::is_regular_file(fs::path(demo::kDemoOutput) / image)) << image;
            const std::string tidy = "tidy -errors -q '" + page.path().string() + "' 2>tidy.txt";
            EXPECT_EQ(std::system(tidy.c_str()), 0) << page.path() << ReadBytes("tidy.txt");
            ++pages;
        }
        EXPECT_EQ(pages, 6);
        tried.insert(name);
    }
    EXPECT_EQ(tried, (std::set<std::string>{"dark.htm", "light.htm"}));
    WriteBytes(demo::kDemoProject, "edited");
    EXPECT_EQ(demo::MakeDemoWorkspace(templates, "."), demo::DemoResult::AlreadyThere);
    EXPECT_EQ(ReadBytes(demo::kDemoProject), "edited");
}

}  // namespace
}  // namespace vistello::testing
