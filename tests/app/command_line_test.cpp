#include "app/command_line.h"

#include <gtest/gtest.h>

namespace vistello {
namespace {

TEST(CommandLineTest, EachLineGivesItsActionAndText) {
    using enum StartAction;
    const std::string usage = "Usage: vistello [OPTION]\n";
    const struct {
        std::vector<std::string_view> arguments;
        StartAction action;
        bool desktopFolder;
        std::string projectFile;
        std::string textStart;
    } cases[] = {
        {{}, OpenWindow, false, "", ""},
        {{"--desktop"}, OpenWindow, true, "", ""},
        {{"-h"}, PrintHelp, false, "", usage},
        {{"--version"}, PrintVersion, false, "", "vistello "},
        {{"--desktop", "--version", "--help"}, PrintHelp, false, "", usage},
        {{"--generate"}, Generate, false, "", ""},
        {{"--generate", "a.dat", "--desktop"}, Generate, true, "a.dat", ""},
        {{"--generate", "--version"}, PrintVersion, false, "", "vistello "},
        {{"--help", "-x"}, RejectUsage, false, "", "vistello: unknown option '-x'\n" + usage},
        {{"-"}, RejectUsage, false, "", "vistello: unknown option '-'\n"},
        {{"--desktop", "pics"}, RejectUsage, false, "", "vistello: unexpected argument 'pics'\n"},
        {{"--Desktop"}, RejectUsage, false, "", "vistello: unknown option '--Desktop'\n"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.arguments.empty() ? "(none)" : test.arguments.back());
        const StartOptions options = ParseCommandLine(test.arguments);
        EXPECT_EQ(options.action, test.action);
        EXPECT_EQ(options.desktopFolder, test.desktopFolder);
        EXPECT_EQ(options.projectFile, test.projectFile);
        EXPECT_TRUE(options.text.starts_with(test.textStart)) << options.text;
        EXPECT_EQ(options.text.empty(), test.textStart.empty());
    }
}

}  // namespace
}  // namespace vistello
