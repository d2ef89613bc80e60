#include "clip/child_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <string>

namespace vistello::testing {
namespace {

ChildResult Shell(const std::string& script, std::chrono::milliseconds deadline,
                  std::function<bool(std::string_view)> keepGoing = {}) {
    ChildCall call;
    call.args = {"sh", "-c", script};
    call.deadline = deadline;
    call.keepGoing = std::move(keepGoing);
    return RunChild(call);
}

bool RunsNow(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const size_t state = line.rfind(')') + 2;
    return state < line.size() && line[state] != 'Z' && line[state] != 'X';
}

// Whether a process still runs a second after it was killed: neither gone nor only waiting to be
// reaped.
bool Runs(const std::string& pidText) {
    int pid = 0;
    std::from_chars(pidText.data(), pidText.data() + pidText.size(), pid);
    for (int tries = 0; pid > 0 && tries < 100; ++tries) {
        if (!RunsNow(pid)) return false;
        ::usleep(10000);
    }
    return pid > 0;
}

// A tool that never answers is ended at its deadline, and one that is told to stop at once; in
// both cases what it started ends with it.
TEST(ChildProcessTest, DeadlineAndStopEndTheToolAndWhatItStarted) {
    const std::string script = "sleep 60 & echo $!; wait";
    const ChildResult late = Shell(script, std::chrono::milliseconds(300));
    EXPECT_TRUE(late.timedOut);
    EXPECT_FALSE(late.Succeeded());
    EXPECT_EQ(late.Failure("sh"), "sh took too long");
    EXPECT_FALSE(Runs(late.out));

    const ChildResult stopped =
        Shell(script, std::chrono::seconds(60), [](std::string_view out) { return out.empty(); });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_FALSE(stopped.Succeeded());
    EXPECT_FALSE(Runs(stopped.out));
}

// A tool runs in a process group of its own, so that ending the group ends all it started.
TEST(ChildProcessTest, AToolRunsInAGroupOfItsOwn) {
    const ChildResult run = Shell("read -r _ _ _ _ group _ < /proc/$$/stat; echo \"$$ $group\"",
                                  std::chrono::seconds(10));
    ASSERT_TRUE(run.Succeeded());
    const std::string pid = run.out.substr(0, run.out.find(' '));
    EXPECT_EQ(run.out, pid + " " + pid + "\n");
}

// A tool ended by a signal failed; a failure's reason is the last line the tool complained with;
// a tool that writes without end is stopped; one that is missing was never started.
TEST(ChildProcessTest, TellsSuccessFromEveryKindOfFailure) {
    EXPECT_TRUE(Shell("echo fine", std::chrono::seconds(10)).Succeeded());
    const ChildResult killed = Shell("kill -9 $$", std::chrono::seconds(10));
    EXPECT_FALSE(killed.Succeeded());
    EXPECT_EQ(killed.Failure("sh"), "sh was ended by a signal");

    const ChildResult noisy = Shell(
        "echo first >&2; i=0; while [ $i -lt 3000 ]; do echo padding padding >&2; i=$((i+1)); "
        "done; echo 'the last word' >&2; exit 3",
        std::chrono::seconds(20));
    EXPECT_EQ(noisy.status, 3);
    EXPECT_EQ(noisy.Failure("sh"), "the last word");
    EXPECT_EQ(noisy.err.find("first"), std::string::npos);

    ChildCall endless;
    endless.args = {"yes"};
    endless.outLimit = 1 << 16;
    const ChildResult flood = RunChild(endless);
    EXPECT_TRUE(flood.tooLong);
    EXPECT_FALSE(flood.Succeeded());

    const ChildResult missing = RunChild({"no-such-tool-here", "-version"});
    EXPECT_FALSE(missing.started);
    EXPECT_EQ(missing.Failure("no-such-tool-here"), "no-such-tool-here is not installed");
}

}  // namespace
}  // namespace vistello::testing
