#include "files/file_stamp.h"

namespace vistello {

std::optional<FileStamp> StampOf(FileOps& ops, const std::string& path) {
    struct stat info {};
    if (ops.Stat(path, info) != 0) return std::nullopt;
    return FileStamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec,
                     info.st_mtim.tv_nsec};
}

}  // namespace vistello
