#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>

#include <optional>
#include <string>
#include <vector>

namespace vistello {

struct FolderEntry {
    std::string name;
    // A regular file, or a link to one.
    bool regularFile = false;
    // A symbolic link, whatever it leads to.
    bool link = false;
};

// The system calls behind every file the program reads or writes, so that a test can make any one
// of them fail. Each reports like the call it stands for: -1 (or nothing) with errno set, errno
// being the calling thread's own.
//
// The picture threads write the images they make, several at once: OpenExclusive,
// OpenForReading, Read, ReadAt, Write, Fchmod, Close, Rename, Unlink, Lstat, Stat, Fstat, ReadLink,
// AccessWrite and MakeFolder may run on any thread, concurrently, and an implementation must be
// safe for that. The other calls run on the thread that started the run.
class FileOps {
public:
    virtual ~FileOps() = default;

    // A new file that must not exist yet, open for writing, mode 0666 less the umask.
    virtual int OpenExclusive(const std::string& path) = 0;
    // Open for reading without waiting for a writer, should the path be a FIFO.
    virtual int OpenForReading(const std::string& path) = 0;
    virtual ssize_t Read(int fd, char* buffer, size_t size) = 0;
    // Reads from `offset` on, leaving the descriptor's own offset where it was.
    virtual ssize_t ReadAt(int fd, char* buffer, size_t size, off_t offset) = 0;
    virtual ssize_t Write(int fd, const char* data, size_t size) = 0;
    // The kernel moves up to `size` bytes from one descriptor's offset to the other's, sharing
    // blocks where the file system can; 0 at the end of the source.
    virtual ssize_t CopyFileRange(int from, int to, size_t size) = 0;
    // Access and modification times of an open file, to the nanosecond.
    virtual int Futimens(int fd, const struct timespec times[2]) = 0;
    virtual int Fchmod(int fd, mode_t mode) = 0;
    virtual int Fsync(int fd) = 0;
    virtual int Close(int fd) = 0;
    virtual int Rename(const std::string& from, const std::string& to) = 0;
    virtual int FsyncFolder(const std::string& folder) = 0;
    virtual int Unlink(const std::string& path) = 0;
    virtual int Lstat(const std::string& path, struct stat& info) = 0;
    virtual int Fstat(int fd, struct stat& info) = 0;
    // Follows links, as opening the path would.
    virtual int Stat(const std::string& path, struct stat& info) = 0;
    // The names in a folder but "." and "..", in the system's order; nothing, with errno set,
    // when it cannot be read.
    virtual std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path) = 0;
    virtual std::optional<std::string> ReadLink(const std::string& path) = 0;
    virtual int AccessWrite(const std::string& path) = 0;
    // Makes a folder that anyone may use, as far as the user's mask allows.
    virtual int MakeFolder(const std::string& path) = 0;
    // Removes the folder only when it is empty.
    virtual int RemoveFolder(const std::string& path) = 0;
    // A descriptor of the folder that holds it locked against every other process asking the
    // same, waiting its turn; Close lets it go. -1 where the folder cannot be locked.
    virtual int LockFolder(const std::string& path) = 0;
    // As LockFolder, but -1 with errno EWOULDBLOCK at once where another process holds it.
    virtual int TryLockFolder(const std::string& path) = 0;
};

// Every folder that leads to the file, made where missing.
void MakeFoldersFor(FileOps& ops, const std::string& file);

class RealFileOps : public FileOps {
public:
    int OpenExclusive(const std::string& path) override;
    int OpenForReading(const std::string& path) override;
    ssize_t Read(int fd, char* buffer, size_t size) override;
    ssize_t ReadAt(int fd, char* buffer, size_t size, off_t offset) override;
    ssize_t Write(int fd, const char* data, size_t size) override;
    ssize_t CopyFileRange(int from, int to, size_t size) override;
    int Futimens(int fd, const struct timespec times[2]) override;
    int Fchmod(int fd, mode_t mode) override;
    int Fsync(int fd) override;
    int Close(int fd) override;
    int Rename(const std::string& from, const std::string& to) override;
    int FsyncFolder(const std::string& folder) override;
    int Unlink(const std::string& path) override;
    int Lstat(const std::string& path, struct stat& info) override;
    int Fstat(int fd, struct stat& info) override;
    int Stat(const std::string& path, struct stat& info) override;
    std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path) override;
    std::optional<std::string> ReadLink(const std::string& path) override;
    int AccessWrite(const std::string& path) override;
    int MakeFolder(const std::string& path) override;
    int RemoveFolder(const std::string& path) override;
    int LockFolder(const std::string& path) override;
    int TryLockFolder(const std::string& path) override;
};

}  // namespace vistello
