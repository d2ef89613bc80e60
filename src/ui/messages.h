#pragma once

#include "project/project_file.h"

namespace vistello {

inline constexpr const char* kClearListQuestion = "Are you sure that you want to clear list?";

}  // namespace vistello
