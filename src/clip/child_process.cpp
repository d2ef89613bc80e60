#include "clip/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "files/leftovers.h"

extern char** environ;

namespace vistello {

namespace {

constexpr size_t kKeptErrorBytes = 16 * 1024;
constexpr int kPollMilliseconds = 100;
// Above the descriptors a child is given, so that handing them over never overwrites one.
constexpr int kHighDescriptors = 64;

using Clock = std::chrono::steady_clock;

struct Pipe {
    int read = -1;
    int write = -1;
    bool Open() {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) return false;
        read = ends[0];
        write = ends[1];
        return true;
    }
    void CloseWrite() {
        if (write >= 0) ::close(write);
        write = -1;
    }
    void Close() {
        CloseWrite();
        if (read >= 0) ::close(read);
        read = -1;
    }
};

// The program's file by the PATH, as a shell would find it; empty when there is none.
std::string Executable(const std::string& name) {
    if (name.find('/') != std::string::npos) return ::access(name.c_str(), X_OK) == 0 ? name : "";
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/bin:/bin";
    while (!folders.empty()) {
        const size_t colon = folders.find(':');
        std::string folder(folders.substr(0, colon));
        folders.remove_prefix(colon == std::string_view::npos ? folders.size() : colon + 1);
        const std::string file = (folder.empty() ? "." : folder) + "/" + name;
        if (::access(file.c_str(), X_OK) == 0) return file;
    }
    return {};
}

// In the child, between fork and exec: only calls that are safe there in a program with threads.
[[noreturn]] void BecomeTool(const char* file, char* const* argv, int input, const Pipe& out,
                             const Pipe& err, const std::vector<int>& fds, pid_t parent) {
    ::setpgid(0, 0);
    // Should this program die by a signal nobody can catch, its tools die with it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
    struct sigaction plain {};
    plain.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) ::sigaction(signal, &plain, nullptr);
    ::dup2(input, 0);
    ::dup2(out.write, 1);
    ::dup2(err.write, 2);
    for (size_t i = 0; i < fds.size(); ++i) ::dup2(fds[i], static_cast<int>(3 + i));
    ::close_range(static_cast<unsigned>(3 + fds.size()), ~0U, 0);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve(file, argv, environ);
    ::_exit(127);
}

// Starts the child in its own group with the signals as a new program expects them; -1 when it
// cannot be started.
pid_t Spawn(const std::string& file, const ChildCall& call, const Pipe& out, const Pipe& err) {
    std::vector<int> high;
    for (const int fd : call.fds) high.push_back(::fcntl(fd, F_DUPFD_CLOEXEC, kHighDescriptors));
    const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    std::vector<char*> argv;
    for (const std::string& arg : call.args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (input >= 0 && std::find(high.begin(), high.end(), -1) == high.end()) {
        // No handler of this program may run in the child before it is a tool.
        sigset_t all;
        sigset_t before;
        sigfillset(&all);
        ::pthread_sigmask(SIG_SETMASK, &all, &before);
        const pid_t parent = ::getpid();
        pid = ::fork();
        if (pid == 0) BecomeTool(file.c_str(), argv.data(), input, out, err, high, parent);
        // Both sides make the group, so that it exists before either may signal it.
        if (pid > 0) ::setpgid(pid, pid);
        ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    }
    for (const int fd : high) {
        if (fd >= 0) ::close(fd);
    }
    if (input >= 0) ::close(input);
    if (pid < 0) return -1;
    NoteChildGroup(pid);
    return pid;
}

// Reads what is there; false at the end of the stream.
bool Drain(int fd, std::string& into) {
    char buffer[4096];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0) into.append(buffer, static_cast<size_t>(got));
    return got > 0 || (got < 0 && (errno == EINTR || errno == EAGAIN));
}

// Whether the child has ended; it stays unreaped, so its group cannot be taken by another.
bool Ended(pid_t pid) {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == pid;
}

class Watch {
public:
    Watch(const ChildCall& call, ChildResult& result)
        : m_call(call), m_result(result), m_end(Clock::now() + call.deadline) {}

    // Whether the run is to be ended now, and why, as the result says.
    bool Over() {
        if (m_result.stopped || m_result.timedOut || m_result.tooLong) return true;
        if (m_result.out.size() > m_call.outLimit) {
            m_result.tooLong = true;
        } else if (Clock::now() > m_end) {
            m_result.timedOut = true;
        } else if (m_call.keepGoing && !m_call.keepGoing(m_result.out)) {
            m_result.stopped = true;
        }
        return m_result.stopped || m_result.timedOut || m_result.tooLong;
    }

private:
    const ChildCall& m_call;
    ChildResult& m_result;
    Clock::time_point m_end;
};

// Reads the child's output until it ends or is to be ended.
void Follow(pid_t pid, Pipe& out, Pipe& err, Watch& watch, ChildResult& result) {
    bool outOpen = true;
    bool errOpen = true;
    while (!watch.Over()) {
        if (!outOpen && !errOpen) {
            if (Ended(pid)) return;
            ::poll(nullptr, 0, kPollMilliseconds);
            continue;
        }
        pollfd polled[2] = {{outOpen ? out.read : -1, POLLIN, 0},
                            {errOpen ? err.read : -1, POLLIN, 0}};
        if (::poll(polled, 2, kPollMilliseconds) <= 0) continue;
        if (polled[0].revents != 0) outOpen = Drain(out.read, result.out);
        if (polled[1].revents != 0) errOpen = Drain(err.read, result.err);
        if (result.err.size() > 2 * kKeptErrorBytes)
            result.err.erase(0, result.err.size() - kKeptErrorBytes);
    }
}

}  // namespace

std::string ChildResult::Failure(std::string_view tool) const {
    if (!started) return std::string(tool) + " is not installed";
    if (stopped) return "stopped";
    if (timedOut) return std::string(tool) + " took too long";
    if (tooLong) return std::string(tool) + " said too much";
    std::string_view text = err;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    const size_t start = text.find_last_of('\n');
    const std::string_view last = start == std::string_view::npos ? text : text.substr(start + 1);
    if (!last.empty()) return std::string(last);
    return std::string(tool) + (status < 0 ? " was ended by a signal" : " failed");
}

ChildResult RunChild(const ChildCall& call) {
    ChildResult result;
    const std::string file = call.args.empty() ? "" : Executable(call.args.front());
    Pipe out;
    Pipe err;
    if (file.empty() || !out.Open() || !err.Open()) {
        out.Close();
        err.Close();
        return result;
    }
    const pid_t pid = Spawn(file, call, out, err);
    out.CloseWrite();
    err.CloseWrite();
    if (pid < 0) {
        out.Close();
        err.Close();
        return result;
    }
    result.started = true;
    ::fcntl(out.read, F_SETFL, O_NONBLOCK);
    ::fcntl(err.read, F_SETFL, O_NONBLOCK);
    Watch watch(call, result);
    Follow(pid, out, err, watch, result);
    // Whatever it started ends with it.
    ::kill(-pid, SIGKILL);
    out.Close();
    err.Close();
    // Forgotten before it is reaped: until then its number belongs to no other process, which a
    // signal's handler, reading the groups, would otherwise end.
    ForgetChildGroup(pid);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

ChildResult RunChild(std::vector<std::string> args) {
    ChildCall call;
    call.args = std::move(args);
    return RunChild(call);
}

}  // namespace vistello
