#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistello {

// A PNG's pixel size and the text its chunks carry, by key.
struct PngFacts {
    int width = 0;
    int height = 0;
    std::map<std::string, std::string> text;
};

// One text chunk to add: tEXt for plain ASCII, iTXt (uncompressed) for UTF-8.
struct PngText {
    std::string key;
    std::string value;
    bool utf8 = false;
};

// Nothing unless the bytes are a whole PNG: the signature, IHDR first, every chunk within the
// bytes with its CRC right, IEND last and nothing after it. The text is that of tEXt and
// uncompressed iTXt chunks, the first of each key; compressed text is passed over.
std::optional<PngFacts> ReadPng(std::string_view bytes);

// The PNG with the text chunks added right after its header; nothing when the bytes do not start
// as a PNG with its header whole, or a key is not one a PNG allows (1 to 79 printable bytes).
std::optional<std::string> WithText(std::string_view png, const std::vector<PngText>& text);

// A PNG of one transparent pixel.
std::string OnePixelPng();

}  // namespace vistello
