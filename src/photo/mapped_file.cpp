#include "photo/mapped_file.h"

#include <sys/mman.h>
#include <sys/stat.h>

#include "files/block_reader.h"

namespace vistello {

MappedFile::MappedFile(FileOps& ops, const std::string& path) {
    struct stat info {};
    const int fd = OpenRegularFile(ops, path, info);
    if (fd < 0) return;
    if (info.st_size > 0) {
        void* data =
            ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (data != MAP_FAILED) {
            m_data = static_cast<const unsigned char*>(data);
            m_size = static_cast<size_t>(info.st_size);
        }
    }
    ops.Close(fd);
}

MappedFile::~MappedFile() {
    if (m_data != nullptr) ::munmap(const_cast<unsigned char*>(m_data), m_size);
}

}  // namespace vistello
