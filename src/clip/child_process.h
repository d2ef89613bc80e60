#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vistello {

// One run of a tool.
struct ChildCall {
    // The program and its arguments, exactly: no shell reads them.
    std::vector<std::string> args;
    // Descriptors of this process that become the child's 3, 4, ...
    std::vector<int> fds;
    // How long it may take before it is ended: a tool that never answers is not waited on for ever.
    std::chrono::milliseconds deadline = std::chrono::seconds(30);
    // Asked about ten times a second with what it wrote so far; once it answers false, the child
    // is ended at once.
    std::function<bool(std::string_view out)> keepGoing;
    // More standard output than this ends it: no answer of a tool that is read is that long.
    size_t outLimit = 4 << 20;
};

struct ChildResult {
    // False when the program could not be started at all, as when it is not installed.
    bool started = false;
    // Its exit status; -1 when a signal ended it.
    int status = -1;
    // keepGoing answered false.
    bool stopped = false;
    bool timedOut = false;
    bool tooLong = false;
    std::string out;
    // The end of what it wrote to its standard error, for a reason to show.
    std::string err;

    bool Succeeded() const { return started && !stopped && !timedOut && !tooLong && status == 0; }
    // Why it did not succeed, in a few words, the tool's own last line where it gave one.
    std::string Failure(std::string_view tool) const;
};

// Runs a tool in a process group of its own, its standard input empty. Whatever ends the run
// (its end, the deadline, keepGoing, too much output) ends the whole group, so nothing it
// started runs on; a signal that ends this program ends it too (see EndLeftoversOnSignals).
ChildResult RunChild(const ChildCall& call);
// The same with what a call leaves unsaid as ChildCall says.
ChildResult RunChild(std::vector<std::string> args);

}  // namespace vistello
