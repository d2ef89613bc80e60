#pragma once

#include <string>
#include <vector>

namespace vistello {

// The address of a module's entry point: the program's own where it carries the module itself
// (a build with the sanitizers), else the one of the first place that loads and has it. Nothing,
// with the reason in `failure` (the loader's, or "PLACE: not a KIND module"), when none does.
void* FindModuleEntry(const std::vector<std::string>& places, const char* entry,
                      const std::string& kind, std::string& failure);

}  // namespace vistello
