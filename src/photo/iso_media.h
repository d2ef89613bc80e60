#pragma once

#include "files/block_reader.h"
#include "media/heif_reader.h"

namespace vistello {

// Whether the file begins as an ISO media file (a "ftyp" box), as HEIF files do.
bool LooksLikeIsoMedia(BlockReader& file);

// An open file as the container library reads it.
class BlockSource final : public ByteSource {
public:
    explicit BlockSource(BlockReader& file) : m_file(file) {}
    int64_t Size() const override { return static_cast<int64_t>(m_file.Info().st_size); }
    bool ReadAt(int64_t offset, char* buffer, size_t size) override {
        return offset >= 0 && m_file.ReadAt(static_cast<off_t>(offset), buffer, size);
    }

private:
    BlockReader& m_file;
};

}  // namespace vistello
