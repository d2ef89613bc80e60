#include "files/error_text.h"

#include <cerrno>
#include <system_error>

namespace vistello {

static_assert(kNotRegularFile == EINVAL);

std::string ErrorText(int error) {
    if (error == kNotRegularFile) return "not a regular file";
    if (error == ELOOP) return "reached through a link";
    if (error == 0) return "unknown error";
    return std::generic_category().message(error);
}

std::string ExceptionText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}

}  // namespace vistello
