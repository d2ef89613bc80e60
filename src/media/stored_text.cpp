#include "media/stored_text.h"

#include <string_view>

#include "text/lossless_utf8.h"

namespace vistello {

namespace {

constexpr size_t kMaxValueBytes = 16 * 1024;

std::optional<std::string> Decode(const StoredText& stored) {
    std::string_view bytes = stored.bytes;
    if (stored.encoding != StoredEncoding::Utf16Le) {
        while (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
    }
    switch (stored.encoding) {
        case StoredEncoding::Utf8:
            if (IsValidUtf8(bytes)) return std::string(bytes);
            return std::nullopt;
        case StoredEncoding::Ascii:
            // Text fields of this kind often hold UTF-8 in practice; anything else is Latin-1.
            return IsValidUtf8(bytes) ? std::string(bytes) : Latin1ToUtf8(bytes);
        case StoredEncoding::Latin1:
            return Latin1ToUtf8(bytes);
        case StoredEncoding::Utf16Le: {
            std::optional<std::string> text = Utf16LeToUtf8(bytes);
            if (text) {
                while (!text->empty() && text->back() == '\0') text->pop_back();
            }
            return text;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> OneLineText(const StoredText& stored) {
    if (stored.bytes.size() > kMaxValueBytes) return std::nullopt;
    std::optional<std::string> text = Decode(stored);
    if (!text) return std::nullopt;
    for (char& c : *text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = ' ';
    }
    const size_t first = text->find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    return text->substr(first, text->find_last_not_of(' ') - first + 1);
}

}  // namespace vistello
