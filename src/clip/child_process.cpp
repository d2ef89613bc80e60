#include "clip/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace vistello {

namespace {

constexpr size_t kKeptErrorBytes = 16 * 1024;
constexpr int kPollMilliseconds = 100;

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
    void Close() {
        for (int* fd : {&read, &write}) {
            if (*fd >= 0) ::close(*fd);
            *fd = -1;
        }
    }
};

pid_t Spawn(const std::vector<std::string>& args, const std::vector<int>& fds, Pipe& out,
            Pipe& err) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.write, 1);
    posix_spawn_file_actions_adddup2(&actions, err.write, 2);
    for (size_t i = 0; i < fds.size(); ++i)
        posix_spawn_file_actions_adddup2(&actions, fds[i], static_cast<int>(3 + i));
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

// Reads what is there; false at the end of the stream.
bool Drain(int fd, std::string& into) {
    char buffer[4096];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0) into.append(buffer, static_cast<size_t>(got));
    return got > 0 || (got < 0 && errno == EINTR);
}

}  // namespace

ChildResult RunChild(const std::vector<std::string>& args, const std::vector<int>& fds,
                     const std::function<bool(std::string_view out)>& keepGoing) {
    ChildResult result;
    Pipe out;
    Pipe err;
    if (args.empty() || !out.Open() || !err.Open()) {
        out.Close();
        err.Close();
        return result;
    }
    const pid_t pid = Spawn(args, fds, out, err);
    ::close(out.write);
    ::close(err.write);
    out.write = err.write = -1;
    if (pid < 0) {
        out.Close();
        err.Close();
        return result;
    }
    result.started = true;
    bool outOpen = true;
    bool errOpen = true;
    while (outOpen || errOpen) {
        pollfd polled[2] = {{outOpen ? out.read : -1, POLLIN, 0},
                            {errOpen ? err.read : -1, POLLIN, 0}};
        if (::poll(polled, 2, kPollMilliseconds) > 0) {
            if (polled[0].revents != 0) outOpen = Drain(out.read, result.out);
            if (polled[1].revents != 0) errOpen = Drain(err.read, result.err);
            if (result.err.size() > 2 * kKeptErrorBytes)
                result.err.erase(0, result.err.size() - kKeptErrorBytes);
        }
        if (!result.stopped && keepGoing && !keepGoing(result.out)) {
            ::kill(pid, SIGKILL);
            result.stopped = true;
        }
    }
    out.Close();
    err.Close();
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::optional<std::string_view> LastValueOf(std::string_view text, std::string_view key) {
    std::optional<std::string_view> value;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (line.starts_with(key) && line.size() > key.size() && line[key.size()] == '=')
            value = line.substr(key.size() + 1);
        start = end + 1;
    }
    return value;
}

std::string LastLineOf(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    const size_t start = text.find_last_of('\n');
    return std::string(start == std::string_view::npos ? text : text.substr(start + 1));
}

}  // namespace vistello
