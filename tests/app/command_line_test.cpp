#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace vistello {
namespace {

struct Case {
    std::vector<std::string_view> arguments;
    StartAction action;
    bool desktopFolder;
    std::string textStart;
};

TEST(CommandLineTest, EachLineGivesItsActionAndText) {
    const Case cases[] = {
        {{}, StartAction::OpenWindow, false, ""},
        {{"--desktop"}, StartAction::OpenWindow, true, ""},
        {{"--help"}, StartAction::PrintHelp, false, "Usage: vistello [OPTION]\n"},
        {{"-h"}, StartAction::PrintHelp, false, "Usage: vistello [OPTION]\n"},
        {{"--version"}, StartAction::PrintVersion, false, "vistello "},
        {{"--desktop", "--version", "--help"}, StartAction::PrintHelp, false, "Usage:"},
        {{"--help", "--bogus"},
         StartAction::RejectUsage,
         false,
         "vistello: unknown option '--bogus'\nUsage: vistello [OPTION]\n"},
        {{"-"}, StartAction::RejectUsage, false, "vistello: unknown option '-'\n"},
        {{"--desktop", "pictures"},
         StartAction::RejectUsage,
         false,
         "vistello: unexpected argument 'pictures'\n"},
        {{"--Desktop"}, StartAction::RejectUsage, false, "vistello: unknown option '--Desktop'\n"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.arguments.empty() ? "(none)" : test.arguments.front());
        const StartOptions options = ParseCommandLine(test.arguments);
        EXPECT_EQ(options.action, test.action);
        EXPECT_EQ(options.desktopFolder, test.desktopFolder);
        EXPECT_TRUE(options.text.starts_with(test.textStart)) << options.text;
        if (test.textStart.empty()) {
            EXPECT_EQ(options.text, "");
        }
    }
}

}  // namespace
}  // namespace vistello
