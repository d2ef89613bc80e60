#pragma once

#include "project/project_file.h"

namespace vistello {

inline constexpr const char* kClearListQuestion = "Are you sure that you want to clear list?";

// Why an image whose path holds a line break is not added, before its name.
inline constexpr const char* kUnfitNameReason =
    "not added, a project cannot keep a line break in a file name:";

}  // namespace vistello
