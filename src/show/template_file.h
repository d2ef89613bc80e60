#pragma once

#include <string>
#include <string_view>

namespace vistello {

// The template a project uses while it names none.
inline constexpr const char* kDefaultTemplate = "template.htm";

// The template a setting names, or the default while it names none.
std::string TemplateFileOrDefault(std::string_view setting);

}  // namespace vistello
