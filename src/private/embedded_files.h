#pragma once

#include <string_view>

namespace vistello {

// A file of the source tree built into the program (see cmake/embed_files.cmake), by the name the
// build gave it; empty for a name it did not.
std::string_view EmbeddedFile(std::string_view name);

}  // namespace vistello
