#include "qt/session_end.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "qt/qt_window_system.h"
#include "qt_application.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

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
// written, and the program ends as the signal asked.
TEST(SessionEndTest, TermAndHupWriteThePreferencesAndTheProjectBeforeTheProgramEnds) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        ScratchDir scratch;
        WriteBytes("vistello.dat", "TEMPLATE=t.htm\nIMAGE=a.jpg\nTITLE=A\n");
        const pid_t program = StartProgram();
        ASSERT_GT(program, 0);
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (!std::filesystem::exists("vistello.ini") &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        ::kill(program, signal);
        const std::optional<int> status = WaitFor(program, 20s);
        ASSERT_TRUE(status) << "the window stayed open";
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == signal) << *status;
        EXPECT_NE(ReadBytes("vistello.ini").find("FILE=vistello.dat\r\n"), std::string::npos);
        EXPECT_TRUE(ReadBytes("vistello.dat")
                        .starts_with("CREATOR=Vistello 1.0\r\nTEMPLATE=t.htm\r\nOUTPUT=\r\n"
                                     "IMAGE=a.jpg\r\nTITLE=A\r\n"));
    }
}

// The window takes in the typed text as Quit does, and a box that comes as it closes gives way
// as Escape answers it: here the one that says the preferences could not be written.
TEST(SessionEndTest, ASignalQuitsWithTheTypedTextAndNoBoxHoldsItOpen) {
    Application();
    ScratchDir scratch;
    std::filesystem::create_directory("vistello.ini");
    WriteBytes("vistello.dat", "IMAGE=a.jpg\r\nTITLE=A\r\n");
    QtWindowSystem system;
    SessionEnd ending(system);
    CMainDialog dialog;
    bool stuck = false;
    QTimer::singleShot(10s, [&stuck] {
        stuck = true;
        QApplication::closeAllWindows();
    });
    QTimer::singleShot(0, [] {
        QApplication::activeModalWidget()
            ->findChild<QLineEdit*>(QString::number(ids::kOutputFolder))
            ->setText("typed");
        ::raise(SIGTERM);
    });
    EXPECT_EQ(system.RunModal(dialog, nullptr), IDOK);
    EXPECT_FALSE(stuck);
    EXPECT_TRUE(ReadBytes("vistello.dat")
                    .starts_with("CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=typed\r\n"
                                 "IMAGE=a.jpg\r\nTITLE=A\r\n"));
}

}  // namespace
}  // namespace vistello::testing
