// The codecs under every file and field: text files read back as written and never keep Ctrl-Z;
// any bytes come back from a field's UTF-16 exactly, and any UTF-16 encodes without harm; an
// integer the count field accepts prints and parses back to itself.
#include <string>

#include "files/text_file.h"
#include "framework/data_exchange.h"
#include "fuzz_input.h"
#include "text/lossless_utf8.h"

using namespace vistello;
using vistello::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string decoded = DecodeTextMode(bytes);
    Check(decoded.find('\x1A') == std::string::npos, "Ctrl-Z survived reading");
    Check(decoded.size() <= bytes.size(), "reading grew the text");
    if (bytes.find('\x1A') == std::string::npos)
        Check(DecodeTextMode(EncodeTextMode(bytes)) == bytes, "text did not survive a round trip");

    Check(EncodeLossless(DecodeLossless(bytes)) == bytes, "bytes changed on the way through");
    std::u16string units;
    for (size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    EncodeLossless(units);

    int value = 0, again = 0;
    if (ParseInt(bytes, value))
        Check(ParseInt(std::to_string(value), again) && again == value,
              "integer did not round trip");
    return 0;
}
