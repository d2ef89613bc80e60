#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>

namespace vistello {

// Reads up to `size` bytes at `offset` into `into`; how many it read.
using ReadAt = std::function<ssize_t(unsigned char* into, size_t size, off_t offset)>;

// Whether an MP4's index comes before its data, so that a browser can start playing while the
// rest arrives: the top-level boxes are walked to whichever comes first.
bool IndexFirst(const ReadAt& read);

}  // namespace vistello
