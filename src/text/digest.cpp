#include "text/digest.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace vistello {

std::string Digest(std::string_view text) {
    std::array<uint64_t, 2> sums = {14695981039346656037ull, 1099511628211ull * 31};
    for (uint64_t& sum : sums) {
        for (const char c : text) sum = (sum ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char hex[33];
    std::snprintf(hex, sizeof hex, "%016llx%016llx", static_cast<unsigned long long>(sums[0]),
                  static_cast<unsigned long long>(sums[1]));
    return hex;
}

bool IsDigest(std::string_view text) {
    return text.size() == 32 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

}  // namespace vistello
