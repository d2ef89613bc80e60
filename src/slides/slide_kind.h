#pragma once

#include <string_view>

namespace vistello {

enum class SlideKind { Photo, Clip, Album };

// What kind of slide a row is, by the file it names; the one rule every part of the program
// asks, whatever was or was not made of the file. A row that names a project is an album.
SlideKind SlideKindOf(std::string_view path);

}  // namespace vistello
