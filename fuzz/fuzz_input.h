#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace vistello::fuzz {

// Cuts the fuzzer's bytes into fields at a separator byte, so one input can carry several
// strings; the last field takes whatever is left.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size)
        : m_rest(reinterpret_cast<const char*>(data), size) {}

    std::string Next() {
        const size_t end = m_rest.find('\x1F');
        const std::string field(m_rest.substr(0, end));
        m_rest.remove_prefix(end == std::string_view::npos ? m_rest.size() : end + 1);
        return field;
    }

    std::string_view Rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

// Aborts with a message the fuzzer shows, so a broken invariant counts as a crash.
inline void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace vistello::fuzz
