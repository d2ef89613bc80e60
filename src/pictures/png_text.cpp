#include "pictures/png_text.h"

#include <array>
#include <cstdint>

namespace vistello {

namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
// Length, type and CRC around a chunk's data.
constexpr size_t kChunkFrame = 12;
// The PNG format's own limit on a chunk's length.
constexpr uint32_t kMaxChunk = 0x7fffffff;

std::array<uint32_t, 256> CrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xedb88320U ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

// The CRC-32 a PNG chunk carries, over its type and data.
uint32_t Crc(std::string_view bytes) {
    static const std::array<uint32_t, 256> kTable = CrcTable();
    uint32_t c = 0xffffffffU;
    for (const char byte : bytes)
        c = kTable[(c ^ static_cast<unsigned char>(byte)) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffU;
}

uint32_t Number(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

void AppendNumber(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

std::string Chunk(std::string_view type, std::string_view data) {
    std::string chunk;
    AppendNumber(chunk, static_cast<uint32_t>(data.size()));
    chunk.append(type).append(data);
    AppendNumber(chunk, Crc(std::string_view(chunk).substr(4)));
    return chunk;
}

// Latin-1 without control characters, as a PNG keyword must be.
bool IsKey(std::string_view key) {
    if (key.empty() || key.size() > 79) return false;
    for (const char c : key) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || (byte > 126 && byte < 161)) return false;
    }
    return true;
}

// "key\0text", or "key\0" compressed-flag method "language\0translated\0text".
void TakeText(std::string_view type, std::string_view data,
              std::map<std::string, std::string>& text) {
    const size_t end = data.find('\0');
    if (end == std::string_view::npos || !IsKey(data.substr(0, end))) return;
    std::string_view value = data.substr(end + 1);
    if (type == "iTXt") {
        if (value.size() < 2 || value[0] != '\0') return;
        value.remove_prefix(2);
        for (int field = 0; field < 2; ++field) {
            const size_t nul = value.find('\0');
            if (nul == std::string_view::npos) return;
            value.remove_prefix(nul + 1);
        }
    }
    text.emplace(std::string(data.substr(0, end)), std::string(value));
}

// The width and height of a whole IHDR, or nothing.
bool TakeHeader(std::string_view data, PngFacts& facts) {
    if (data.size() != 13) return false;
    const uint32_t width = Number(data, 0);
    const uint32_t height = Number(data, 4);
    if (width == 0 || height == 0 || width > kMaxChunk || height > kMaxChunk) return false;
    facts.width = static_cast<int>(width);
    facts.height = static_cast<int>(height);
    return true;
}

}  // namespace

std::optional<PngFacts> ReadPng(std::string_view bytes) {
    if (!bytes.starts_with(kSignature)) return std::nullopt;
    PngFacts facts;
    size_t at = kSignature.size();
    for (bool first = true;; first = false) {
        if (bytes.size() - at < kChunkFrame) return std::nullopt;
        const uint32_t length = Number(bytes, at);
        if (length > kMaxChunk || length > bytes.size() - at - kChunkFrame) return std::nullopt;
        const std::string_view type = bytes.substr(at + 4, 4);
        const std::string_view data = bytes.substr(at + 8, length);
        if (Crc(bytes.substr(at + 4, 4 + length)) != Number(bytes, at + 8 + length))
            return std::nullopt;
        at += kChunkFrame + length;
        if (first != (type == "IHDR")) return std::nullopt;
        if (first && !TakeHeader(data, facts)) return std::nullopt;
        if (type == "tEXt" || type == "iTXt") TakeText(type, data, facts.text);
        if (type == "IEND") return at == bytes.size() ? std::optional(facts) : std::nullopt;
    }
}

std::optional<std::string> WithText(std::string_view png, const std::vector<PngText>& text) {
    const size_t headerEnd = kSignature.size() + kChunkFrame + 13;
    if (!png.starts_with(kSignature) || png.size() < headerEnd ||
        png.substr(kSignature.size(), 8) != std::string_view("\0\0\0\x0dIHDR", 8))
        return std::nullopt;
    std::string out(png.substr(0, headerEnd));
    for (const PngText& entry : text) {
        if (!IsKey(entry.key)) return std::nullopt;
        std::string data = entry.key;
        data.push_back('\0');
        if (entry.utf8) data.append(std::string_view("\0\0\0\0", 4));
        data.append(entry.value);
        out.append(Chunk(entry.utf8 ? "iTXt" : "tEXt", data));
    }
    out.append(png.substr(headerEnd));
    return out;
}

// Eight-bit RGBA, its one row stored in a zlib stream without compression.
std::string OnePixelPng() {
    std::string header;
    AppendNumber(header, 1);
    AppendNumber(header, 1);
    header.append(std::string_view("\x08\x06\0\0\0", 5));
    const std::string_view row("\0\0\0\0\0", 5);
    std::string zlib("\x78\x01\x01\x05\x00\xfa\xff", 7);
    zlib.append(row);
    // The Adler-32 of the row: every byte is 0, so A = 1 and B = the length.
    AppendNumber(zlib, (5U << 16) | 1U);
    return std::string(kSignature) + Chunk("IHDR", header) + Chunk("IDAT", zlib) +
           Chunk("IEND", "");
}

}  // namespace vistello
