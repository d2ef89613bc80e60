// The key file of a private album, as anyone may write it: any text reads without harm, as a key
// of the right shape or as why not; base64 reads one way only, so what it reads writes back the
// same.
#include <string>
#include <variant>

#include "fuzz_input.h"
#include "private/album_key_file.h"
#include "text/base64.h"

using namespace vistello;
using vistello::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto read = ReadKeyFile(text);
    if (const WrappedKey* key = std::get_if<WrappedKey>(&read)) {
        Check(key->salt.size() == 16 && key->nonce.size() == 12 && key->sealed.size() == 48,
              "a part of the wrong size");
        Check(key->iterations >= kKeyIterations && key->iterations <= kMostKeyIterations,
              "rounds out of range");
    } else {
        Check(!std::get<std::string>(read).empty(), "refused without a reason");
    }
    if (const std::optional<std::string> bytes = Base64Decode(text))
        Check(Base64Encode(*bytes) == text, "base64 read two ways");
    return 0;
}
