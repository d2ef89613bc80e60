#include "text/base64.h"

#include <array>
#include <cstdint>

namespace vistello {

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int8_t, 256> DecodeTable() {
    std::array<int8_t, 256> table{};
    table.fill(-1);
    for (size_t i = 0; i < kAlphabet.size(); ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int8_t>(i);
    return table;
}

constexpr std::array<int8_t, 256> kDecode = DecodeTable();

}  // namespace

std::string Base64Encode(std::string_view bytes) {
    std::string text;
    AppendBase64(text, bytes);
    return text;
}

void AppendBase64(std::string& text, std::string_view bytes) {
    text.reserve(text.size() + (bytes.size() + 2) / 3 * 4);
    size_t at = 0;
    for (; at + 3 <= bytes.size(); at += 3) {
        const uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 16 |
                               static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1]))
                                   << 8 |
                               static_cast<unsigned char>(bytes[at + 2]);
        for (const int shift : {18, 12, 6, 0}) text += kAlphabet[(group >> shift) & 0x3F];
    }
    const size_t left = bytes.size() - at;
    if (left == 0) return;
    uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 16;
    if (left == 2) group |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    text += kAlphabet[(group >> 18) & 0x3F];
    text += kAlphabet[(group >> 12) & 0x3F];
    text += left == 2 ? kAlphabet[(group >> 6) & 0x3F] : '=';
    text += '=';
}

std::optional<std::string> Base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (size_t at = 0; at < text.size(); at += 4) {
        const bool last = at + 4 == text.size();
        const int padding = !last ? 0 : text[at + 3] != '=' ? 0 : text[at + 2] != '=' ? 1 : 2;
        uint32_t group = 0;
        for (int i = 0; i < 4; ++i) {
            const int value =
                i >= 4 - padding ? 0 : kDecode[static_cast<unsigned char>(text[at + i])];
            if (value < 0) return std::nullopt;
            group = group << 6 | static_cast<uint32_t>(value);
        }
        // Bits the padding drops must be zero, or two texts would read as the same bytes.
        if ((padding == 1 && (group & 0xFF) != 0) || (padding == 2 && (group & 0xFFFF) != 0))
            return std::nullopt;
        bytes += static_cast<char>(group >> 16);
        if (padding < 2) bytes += static_cast<char>((group >> 8) & 0xFF);
        if (padding < 1) bytes += static_cast<char>(group & 0xFF);
    }
    return bytes;
}

}  // namespace vistello
