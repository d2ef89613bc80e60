#pragma once

#include <filesystem>

namespace vistello::demo {

inline constexpr const char* kDemoProject = "demo.dat";
inline constexpr const char* kDemoTemplate = "phone.htm";
inline constexpr const char* kDemoOverview = "phone-overview.htm";
inline constexpr const char* kDemoOutput = "show";

enum class DemoResult { Made, AlreadyThere };

// Makes a workspace that the program can open and generate a show from at once: the sample
// pictures, every template in templateFolder, an empty output folder, the project and the
// preferences that name it. Whatever is at folder already is the user's and stays as it is. The
// workspace is made under another name beside folder and renamed into place, so a run that
// fails half way leaves no half-made workspace behind. Throws std::exception when it cannot.
DemoResult MakeDemoWorkspace(const std::filesystem::path& templateFolder,
                             const std::filesystem::path& folder);

}  // namespace vistello::demo
