#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/file_ops.h"

namespace vistello {

// A name the image picker would list: .jpg, .jpeg, .png, .tif, .tiff, .bmp or .gif in any case.
bool IsImageFileName(std::string_view name);

// Orders names as people count: runs of digits compare by their value, so img2 comes before
// img10; letters compare without regard to case, and bytes break the ties.
bool NaturalLess(std::string_view a, std::string_view b);

// The full paths of the image files directly in folder, hidden ones left out, in natural order
// of their names. Nothing when the folder cannot be read.
std::vector<std::string> ImageFilesIn(FileOps& ops, const std::string& folder);

// The file name without its extension.
std::string TitleFromFileName(std::string_view name);

}  // namespace vistello
