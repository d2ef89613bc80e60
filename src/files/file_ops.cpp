#include "files/file_ops.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace vistello {

int RealFileOps::OpenExclusive(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

int RealFileOps::OpenForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

ssize_t RealFileOps::Read(int fd, char* buffer, size_t size) { return ::read(fd, buffer, size); }

ssize_t RealFileOps::ReadAt(int fd, char* buffer, size_t size, off_t offset) {
    return ::pread(fd, buffer, size, offset);
}

ssize_t RealFileOps::Write(int fd, const char* data, size_t size) {
    return ::write(fd, data, size);
}

ssize_t RealFileOps::CopyFileRange(int from, int to, size_t size) {
    return ::copy_file_range(from, nullptr, to, nullptr, size, 0);
}

int RealFileOps::Futimens(int fd, const struct timespec times[2]) { return ::futimens(fd, times); }

int RealFileOps::Fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }

int RealFileOps::Fsync(int fd) { return ::fsync(fd); }

int RealFileOps::Close(int fd) { return ::close(fd); }

int RealFileOps::Rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str());
}

// The rename is only durable once the folder that holds the new name is synced too.
int RealFileOps::FsyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

int RealFileOps::Unlink(const std::string& path) { return ::unlink(path.c_str()); }

int RealFileOps::Lstat(const std::string& path, struct stat& info) {
    return ::lstat(path.c_str(), &info);
}

int RealFileOps::Fstat(int fd, struct stat& info) { return ::fstat(fd, &info); }

int RealFileOps::Stat(const std::string& path, struct stat& info) {
    return ::stat(path.c_str(), &info);
}

// The folder's own record says what most entries are; only links, and file systems that do not
// say, cost a stat.
std::optional<std::vector<FolderEntry>> RealFileOps::ListFolder(const std::string& path) {
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(path.c_str()), ::closedir);
    if (!folder) return std::nullopt;
    std::vector<FolderEntry> entries;
    const std::string prefix = path.back() == '/' ? path : path + '/';
    errno = 0;
    while (const dirent* entry = ::readdir(folder.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool regular = entry->d_type == DT_REG;
        bool link = entry->d_type == DT_LNK;
        struct stat info {};
        if (entry->d_type == DT_UNKNOWN && ::lstat((prefix + entry->d_name).c_str(), &info) == 0) {
            regular = S_ISREG(info.st_mode);
            link = S_ISLNK(info.st_mode);
        }
        if (link)
            regular = ::stat((prefix + entry->d_name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
        entries.push_back({std::string(name), regular, link});
        errno = 0;
    }
    if (errno != 0) return std::nullopt;
    return entries;
}

std::optional<std::string> RealFileOps::ReadLink(const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return std::nullopt;
        if (static_cast<size_t>(length) < target.size()) {
            target.resize(static_cast<size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

int RealFileOps::AccessWrite(const std::string& path) { return ::access(path.c_str(), W_OK); }

int RealFileOps::MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0777); }

int RealFileOps::RemoveFolder(const std::string& path) { return ::rmdir(path.c_str()); }

namespace {

int LockedFolder(const std::string& path, int how) {
    const int fd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    int locked = 0;
    while ((locked = ::flock(fd, how)) != 0 && errno == EINTR) {
    }
    if (locked == 0) return fd;
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}

}  // namespace

int RealFileOps::LockFolder(const std::string& path) { return LockedFolder(path, LOCK_EX); }

int RealFileOps::TryLockFolder(const std::string& path) {
    return LockedFolder(path, LOCK_EX | LOCK_NB);
}

void MakeFoldersFor(FileOps& ops, const std::string& file) {
    for (size_t slash = file.find('/', 1); slash != std::string::npos;
         slash = file.find('/', slash + 1))
        ops.MakeFolder(file.substr(0, slash));
}

}  // namespace vistello
