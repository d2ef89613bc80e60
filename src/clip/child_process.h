#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistello {

struct ChildResult {
    // False when the program could not be started at all, as when it is not installed.
    bool started = false;
    // Its exit status; -1 when a signal ended it.
    int status = -1;
    // True when keepGoing answered false and the program was ended.
    bool stopped = false;
    std::string out;
    // The last lines it wrote to its standard error, for a reason to show.
    std::string err;
};

// Runs a program with exactly these arguments: no shell reads them, its standard input is empty,
// and `fds` of this process become its descriptors 3, 4, ... `keepGoing` is asked about ten
// times a second while it runs; once it answers false the program is killed at once.
ChildResult RunChild(const std::vector<std::string>& args, const std::vector<int>& fds = {},
                     const std::function<bool(std::string_view out)>& keepGoing = {});

// The value of the last "key=value" line for `key` in what a tool wrote, as ffprobe answers
// and ffmpeg reports its progress; nothing without one.
std::optional<std::string_view> LastValueOf(std::string_view text, std::string_view key);

// The last line of a program's complaint, for the user.
std::string LastLineOf(std::string_view text);

}  // namespace vistello
