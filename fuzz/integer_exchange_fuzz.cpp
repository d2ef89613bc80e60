// The count field's integer: whatever is accepted is a decimal int that prints and parses back
// to itself.
#include <string>

#include "framework/data_exchange.h"
#include "fuzz_input.h"

using namespace vistello;
using vistello::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    int value = 0;
    if (!ParseInt(text, value)) return 0;
    int again = 0;
    Check(ParseInt(std::to_string(value), again) && again == value, "integer did not round trip");
    return 0;
}
