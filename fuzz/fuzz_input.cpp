#include "fuzz_input.h"

#include <cstdio>
#include <cstdlib>

namespace vistello::fuzz {

void Broken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace vistello::fuzz
