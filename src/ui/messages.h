#pragma once

namespace vistello {

inline constexpr const char* kDefaultTemplate = "template.htm";
inline constexpr const char* kClearListQuestion = "Are you sure that you want to clear list?";

}  // namespace vistello
