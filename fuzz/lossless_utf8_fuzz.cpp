// Field text: any bytes come back from the UTF-16 side exactly as they went in.
#include <string>

#include "fuzz_input.h"
#include "text/lossless_utf8.h"

using namespace vistello;
using vistello::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Check(EncodeLossless(DecodeLossless(bytes)) == bytes, "bytes changed on the way through");
    std::u16string units;
    for (size_t i = 0; i + 1 < size; i += 2) {
        units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    EncodeLossless(units);
    return 0;
}
