#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace vistello {

// The longest file name the file systems we write to hold, in bytes.
inline constexpr size_t kMaxFileNameBytes = 255;

// The names handed out in one folder, each once. Names that differ only in the case of their
// letters count as one, so that no two collide when the show is copied to a disk or a server that
// ignores case.
class UniqueNames {
public:
    // False when the name, in any case, was taken already; it is taken either way.
    bool Take(std::string_view name);

    // stem + extension when that is free; otherwise the first stem_2, stem_3 ... + extension
    // that is free and that `allowed` accepts; the stem is cut to keep every name within
    // kMaxFileNameBytes. The name is taken.
    std::string Claim(std::string_view stem, std::string_view extension,
                      const std::function<bool(const std::string& name)>& allowed = {});

private:
    std::unordered_set<std::string> m_taken;
    // Per stem and extension, the number to try next, so that a thousand pages of one title cost
    // no more than a thousand tries.
    std::unordered_map<std::string, int> m_next;
};

}  // namespace vistello
