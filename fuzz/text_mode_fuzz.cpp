// The text-mode codec: what is written reads back unchanged, and reading never keeps Ctrl-Z.
#include <string>

#include "files/text_file.h"
#include "fuzz_input.h"

using namespace vistello;
using vistello::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string decoded = DecodeTextMode(bytes);
    Check(decoded.find('\x1A') == std::string::npos, "Ctrl-Z survived reading");
    Check(decoded.size() <= bytes.size(), "reading grew the text");
    if (bytes.find('\x1A') == std::string::npos) {
        Check(DecodeTextMode(EncodeTextMode(bytes)) == bytes, "text did not survive a round trip");
    }
    return 0;
}
