#pragma once

#include <exception>
#include <string>

namespace vistello {

// The file layer reports a path that leads to something other than a regular file (a folder
// aside, which has its own code) as EINVAL, which no other call of it gives for a path.
inline constexpr int kNotRegularFile = 22;  // EINVAL

// The system's text for an error number, as a user reads it: "Permission denied".
std::string ErrorText(int error);

// What a caught exception says, as a user reads it: its own text, else "unknown error".
std::string ExceptionText(const std::exception_ptr& error);

}  // namespace vistello
