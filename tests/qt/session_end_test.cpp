#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace vistello::testing {
namespace {

using namespace std::chrono_literals;

// The program, started in the current folder with no screen; -1 when it cannot be.
pid_t StartProgram() {
    std::vector<std::string> settings{"QT_QPA_PLATFORM=offscreen"};
    for (char** setting = environ; *setting != nullptr; ++setting)
        if (!std::string_view(*setting).starts_with("QT_QPA_PLATFORM="))
            settings.push_back(*setting);
    std::vector<char*> envp;
    for (std::string& setting : settings) envp.push_back(setting.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(VISTELLO_PROGRAM), nullptr};
    const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(quiet, STDERR_FILENO);
        ::execve(argv[0], argv, envp.data());
        ::_exit(127);
    }
    ::close(quiet);
    return child;
}

// How the program ended, or nothing when it had not within the time given, after which it is
// ended outright.
std::optional<int> WaitFor(pid_t child, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(20ms);
    }
    return status;
}

// A shutdown or a logout closes the window as Quit does: the preferences and the project are
// written, the box that tells of a version changed elsewhere is answered by itself, and the
// program ends as the signal asked.
TEST(SessionEndTest, TermAndHupWriteThePreferencesAndTheProjectBeforeTheProgramEnds) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        ScratchDir scratch;
        WriteBytes("vistello.dat", "TEMPLATE=t.htm\nOUTPUT=out\nIMAGE=a.jpg\nTITLE=A\n");
        const pid_t program = StartProgram();
        ASSERT_GT(program, 0);
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (!std::filesystem::exists("vistello.ini") &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        WriteBytes("vistello.dat", "TEMPLATE=theirs.htm\n");
        ::kill(program, signal);
        const std::optional<int> status = WaitFor(program, 20s);
        ASSERT_TRUE(status) << "the window stayed open";
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == signal) << *status;
        EXPECT_NE(ReadBytes("vistello.ini").find("FILE=vistello.dat\r\n"), std::string::npos);
        EXPECT_TRUE(ReadBytes("vistello.dat")
                        .starts_with("CREATOR=Vistello 1.0\r\nTEMPLATE=t.htm\r\nOUTPUT=out\r\n"
                                     "IMAGE=a.jpg\r\nTITLE=A\r\n"));
        EXPECT_EQ(ReadBytes("vistello (changed elsewhere).dat"), "TEMPLATE=theirs.htm\n");
    }
}

}  // namespace
}  // namespace vistello::testing
