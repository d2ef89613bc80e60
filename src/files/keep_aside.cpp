#include "files/keep_aside.h"

#include "files/file_copy.h"
#include "files/path_rules.h"

namespace vistello {

namespace {

constexpr int kMaxTries = 1000;

// The extension is the text after the last dot of the file name, if that dot does not begin it.
std::string AsideName(const std::string& path, std::string_view why, int number) {
    const size_t separator = path.rfind(kPathSeparator);
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) dot = path.size();
    std::string name = path.substr(0, dot);
    name.append(" (").append(why);
    if (number > 1) name.append(" ").append(std::to_string(number));
    return name.append(")").append(path.substr(dot));
}

}  // namespace

std::optional<std::string> KeepAside(FileOps& ops, const std::string& path, std::string_view why) {
    for (int number = 1; number <= kMaxTries; ++number) {
        const std::string aside = AsideName(path, why, number);
        struct stat info {};
        if (ops.Lstat(aside, info) == 0) continue;
        if (!CopyFileOver(ops, path, aside)) return std::nullopt;
        return aside;
    }
    return std::nullopt;
}

}  // namespace vistello
