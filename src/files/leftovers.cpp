#include "files/leftovers.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>

namespace vistello {

namespace {

constexpr std::string_view kTemporaryPrefix = ".vistello-";
constexpr size_t kSlots = 128;
constexpr size_t kRandomLength = 11;
constexpr size_t kMachineLength = 3;
// Long enough that no run of another machine still writes a temporary it has not touched since.
constexpr time_t kForeignStaleSeconds = 24 * 60 * 60;

std::array<std::atomic<pid_t>, kSlots> g_groups{};

enum TemporaryState : int { kFree, kFilling, kNoted };

struct TemporarySlot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};

std::array<TemporarySlot, kSlots> g_temporaries;

static_assert(std::atomic<pid_t>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "a signal handler reads the lists");

void EndOnSignal(int signal) {
    const int error = errno;
    EndLeftovers();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    errno = error;
}

// Three letters or digits that tell this machine from others sharing an output folder, from its
// machine id and its name.
const std::string& ThisMachine() {
    static const std::string tag = [] {
        std::string seed;
        if (std::FILE* id = std::fopen("/etc/machine-id", "re")) {
            char line[64] = {};
            if (std::fgets(line, sizeof line, id)) seed = line;
            std::fclose(id);
        }
        char host[256] = {};
        if (::gethostname(host, sizeof host - 1) == 0) seed += host;
        static constexpr std::string_view kDigits = "0123456789abcdefghijklmnopqrstuvwxyz";
        size_t hash = std::hash<std::string>()(seed);
        std::string made;
        for (size_t i = 0; i < kMachineLength; ++i, hash /= kDigits.size())
            made += kDigits[hash % kDigits.size()];
        return made;
    }();
    return tag;
}

// The process a temporary's name says fills it; 0 when the name is no temporary of ours, which is
// the prefix, the process, a dash and eleven letters or digits, nothing else.
pid_t FillerOf(std::string_view name) {
    if (!name.starts_with(kTemporaryPrefix)) return 0;
    name.remove_prefix(kTemporaryPrefix.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    const std::string_view random(end, static_cast<size_t>(name.data() + name.size() - end));
    if (error != std::errc() || pid <= 0 || random.size() != 1 + kRandomLength ||
        random.front() != '-' || !std::all_of(random.begin() + 1, random.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) != 0;
        }))
        return 0;
    return pid;
}

}  // namespace

void NoteChildGroup(pid_t group) {
    for (std::atomic<pid_t>& slot : g_groups) {
        pid_t free = 0;
        if (slot.compare_exchange_strong(free, group)) return;
    }
}

void ForgetChildGroup(pid_t group) {
    for (std::atomic<pid_t>& slot : g_groups) {
        pid_t noted = group;
        if (slot.compare_exchange_strong(noted, 0)) return;
    }
}

int NoteTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (size_t i = 0; i < kSlots; ++i) {
        int free = kFree;
        if (!g_temporaries[i].state.compare_exchange_strong(free, kFilling)) continue;
        std::memcpy(g_temporaries[i].path, path.c_str(), path.size() + 1);
        g_temporaries[i].state = kNoted;
        return static_cast<int>(i);
    }
    return -1;
}

void ForgetTemporary(int slot) {
    if (slot >= 0 && static_cast<size_t>(slot) < kSlots)
        g_temporaries[static_cast<size_t>(slot)].state = kFree;
}

void EndLeftovers() {
    for (std::atomic<pid_t>& slot : g_groups) {
        if (const pid_t group = slot.load(); group > 0) ::kill(-group, SIGKILL);
    }
    for (TemporarySlot& slot : g_temporaries) {
        if (slot.state.load() == kNoted) ::unlink(slot.path);
    }
}

void EndLeftoversOnSignals() {
    struct sigaction action {};
    action.sa_handler = EndOnSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGPIPE, SIGALRM, SIGUSR1, SIGUSR2})
        ::sigaction(signal, &action, nullptr);
}

std::string TemporaryName(std::string_view random, pid_t filler) {
    std::string name = std::string(kTemporaryPrefix) + std::to_string(filler) + "-";
    name += ThisMachine();
    name += random.substr(std::min(random.size(), kMachineLength));
    return name;
}

void ClearStaleTemporaries(FileOps& ops, const std::string& folder) {
    const auto entries = ops.ListFolder(folder.empty() ? "." : folder);
    if (!entries) return;
    const time_t now = ::time(nullptr);
    for (const FolderEntry& entry : *entries) {
        const pid_t filler = FillerOf(entry.name);
        if (filler <= 0 || filler == ::getpid()) continue;
        const std::string path = folder + entry.name;
        if (entry.name.substr(entry.name.size() - kRandomLength, kMachineLength) == ThisMachine()) {
            if (::kill(filler, 0) != 0 && errno == ESRCH) ops.Unlink(path);
            continue;
        }
        struct stat info {};
        if (ops.Lstat(path, info) == 0 && now - info.st_mtime > kForeignStaleSeconds)
            ops.Unlink(path);
    }
}

}  // namespace vistello
