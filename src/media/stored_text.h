#pragma once

#include <optional>
#include <string>

namespace vistello {

// How the bytes of one stored value are to be read.
enum class StoredEncoding { Utf8, Latin1, Utf16Le, Ascii };

struct StoredText {
    std::string bytes;
    StoredEncoding encoding = StoredEncoding::Utf8;
};

// The value as one line of UTF-8: control characters and line ends as spaces, trimmed. Nothing
// when it is blank, longer than any caption a person writes (taken for damage, not text), or not
// what its encoding promises.
std::optional<std::string> OneLineText(const StoredText& stored);

}  // namespace vistello
