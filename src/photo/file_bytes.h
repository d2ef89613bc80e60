#pragma once

#include <optional>
#include <string>

#include "files/block_reader.h"

namespace vistello {

// A regular file's bytes, read into memory, so that a library reads exactly the file that was
// opened (never a FIFO or device, never one swapped in by name later) and a file cut short while
// it is read is only a shorter file, never a fault. Nothing when the file did not open, cannot be
// read, or is larger than any photo.
std::optional<std::string> FileBytes(BlockReader& file);

}  // namespace vistello
