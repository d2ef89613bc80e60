#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vistello {

enum class StartAction { OpenWindow, Generate, PrintHelp, PrintVersion, RejectUsage };

// What the command line asks of the program.
struct StartOptions {
    StartAction action = StartAction::OpenWindow;
    // Open the window in the user's data folder rather than the current one.
    bool desktopFolder = false;
    // What to print: the help, the version, or why the command line was refused followed by the
    // usage.
    std::string text;
    // For Generate: the project file named after --generate; empty: the one the preferences name.
    std::string projectFile;
};

// The arguments after the program's name. Any option the program does not know, or any other
// argument but the one project file after --generate, refuses the whole line; otherwise --help
// wins over --version, which wins over generating, which wins over starting.
StartOptions ParseCommandLine(const std::vector<std::string_view>& arguments);

}  // namespace vistello
