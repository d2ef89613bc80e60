#pragma once

#include <cstdint>
#include <string>

namespace vistello {

// One entry of a folder as a server lists it.
struct ListedEntry {
    std::string name;
    std::uint64_t size = 0;
    bool folder = false;

    bool operator==(const ListedEntry&) const = default;
};

}  // namespace vistello
