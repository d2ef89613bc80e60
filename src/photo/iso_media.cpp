#include "photo/iso_media.h"

#include <cstring>

namespace vistello {

bool LooksLikeIsoMedia(BlockReader& file) {
    char front[12];
    return file.ReadAt(0, front, sizeof front) && std::memcmp(front + 4, "ftyp", 4) == 0;
}

}  // namespace vistello
