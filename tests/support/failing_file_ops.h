#pragma once

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/file_ops.h"

namespace vistello::testing {

// Real file access in which one call fails: the `call`-th call of `step` ("open", "read",
// "write", "copy", "fsync", "close", "rename", "unlink"), with `error`. Writes are cut to 4 KiB, as
// the system may cut them, so that any content of some size takes several. Every file renamed into
// place is noted, which is every file written or copied. Safe on the generator's worker threads.
class FailingFileOps : public RealFileOps {
public:
    FailingFileOps(std::string step = "", int call = 0, int error = 0)
        : m_step(std::move(step)), m_call(call), m_error(error) {}

    int OpenExclusive(const std::string& path) override {
        return Fails("open") ? -1 : RealFileOps::OpenExclusive(path);
    }
    ssize_t Read(int fd, char* buffer, size_t size) override {
        return Fails("read") ? -1 : RealFileOps::Read(fd, buffer, size);
    }
    ssize_t Write(int fd, const char* data, size_t size) override {
        return Fails("write") ? -1 : RealFileOps::Write(fd, data, std::min<size_t>(size, 4096));
    }
    // With refuseCopyWith set, the kernel copy is refused every time, as some file systems do.
    ssize_t CopyFileRange(int from, int to, size_t size) override {
        if (refuseCopyWith != 0) {
            errno = refuseCopyWith;
            return -1;
        }
        return Fails("copy") ? -1 : RealFileOps::CopyFileRange(from, to, size);
    }
    int Fsync(int fd) override { return Fails("fsync") ? -1 : RealFileOps::Fsync(fd); }
    // Like the system, a failing close still releases the descriptor.
    int Close(int fd) override { return RealFileOps::Close(fd) != 0 || Fails("close") ? -1 : 0; }
    int Unlink(const std::string& path) override {
        return Fails("unlink") ? -1 : RealFileOps::Unlink(path);
    }
    int Rename(const std::string& from, const std::string& to) override {
        if (Fails("rename") || RealFileOps::Rename(from, to) != 0) return -1;
        const std::lock_guard lock(m_mutex);
        replaced.push_back(to);
        return 0;
    }

    int refuseCopyWith = 0;
    std::vector<std::string> replaced;

private:
    bool Fails(std::string_view step) {
        if (step != m_step || ++m_calls != m_call) return false;
        errno = m_error;
        return true;
    }

    std::string m_step;
    int m_call;
    int m_error;
    std::atomic<int> m_calls{0};
    std::mutex m_mutex;
};

}  // namespace vistello::testing
