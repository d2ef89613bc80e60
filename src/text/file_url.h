#pragma once

#include <string>
#include <string_view>

namespace vistello {

// A file URL for an absolute path, at a section of the document when one is named. Every byte
// that could end the path or read as something else in a URL is percent-encoded.
std::string FileUrl(std::string_view absolutePath, std::string_view section = {});

}  // namespace vistello
