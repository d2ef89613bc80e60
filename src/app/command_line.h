#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vistello {

enum class StartAction {
    OpenWindow,
    Generate,
    Import,
    Publish,
    PrintHelp,
    PrintVersion,
    RejectUsage
};

// What the command line asks of the program.
struct StartOptions {
    StartAction action = StartAction::OpenWindow;
    // Open the window in the user's data folder rather than the current one.
    bool desktopFolder = false;
    // What to print: the help, the version, or why the command line was refused followed by the
    // usage.
    std::string text;
    // For Generate and Import: the project file named on the line; empty: the one the
    // preferences name.
    std::string projectFile;
    // For Import: the folder whose images join the project.
    std::string importFolder;
    // For Import: in the order the photos were taken rather than by name.
    bool byDate = false;
    // For Import: every folder below the one named becomes an album.
    bool albums = false;
    // For Generate: publish the site once it is generated.
    bool publish = false;
    // For Publish: list what would be sent and removed, and send nothing.
    bool dryRun = false;
    // For Publish: remove more than a tenth of the site at once.
    bool allowRemovals = false;
    // For Publish: a file whose first line is the password, and a host key to trust.
    std::string passwordFile = {};
    std::string hostKey = {};
    // For Generate: a file whose first line is the password of private albums.
    std::string albumPasswordFile = {};
};

// The arguments after the program's name. Any option the program does not know, or any other
// argument but the one project file after --generate or the folder and project file after
// --import, refuses the whole line, and so do --import without a folder and --by-date or --albums
// without --import; otherwise --help wins
// over --version, which wins over importing, then generating, then starting.
StartOptions ParseCommandLine(const std::vector<std::string_view>& arguments);

// What --help prints; the manual page is made from it too, so the two never differ.
std::string_view UsageText();

}  // namespace vistello
