#include "slides/photo_details.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "text/letter_case.h"
#include "text/lossless_utf8.h"

namespace vistello {

namespace {

// Longer than any caption a person writes: such a value is taken for damage, not text.
constexpr size_t kMaxValueBytes = 16 * 1024;

// What cameras write when nobody described the photo.
constexpr std::array<std::string_view, 8> kPlaceholders = {"OLYMPUS DIGITAL CAMERA",
                                                           "SONY DSC",
                                                           "DCIM",
                                                           "DIGITAL CAMERA",
                                                           "SAMSUNG CAMERA PICTURES",
                                                           "KONICA MINOLTA DIGITAL CAMERA",
                                                           "MINOLTA DIGITAL CAMERA",
                                                           "KODAK Digital Still Camera"};

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

// One line of plain text, or nothing when the value tells nothing.
std::optional<std::string> Clean(const StoredText& stored) {
    if (stored.bytes.size() > kMaxValueBytes) return std::nullopt;
    std::optional<std::string> text = Decode(stored);
    if (!text) return std::nullopt;
    for (char& c : *text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = ' ';
    }
    const size_t first = text->find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    *text = text->substr(first, text->find_last_not_of(' ') - first + 1);
    for (const std::string_view placeholder : kPlaceholders) {
        if (EqualIgnoringCase(*text, placeholder)) return std::nullopt;
    }
    return text;
}

std::string FirstValue(const StoredSources& sources) {
    for (const std::vector<StoredText>& source : sources) {
        for (const StoredText& stored : source) {
            if (std::optional<std::string> text = Clean(stored)) return *text;
        }
    }
    return {};
}

std::string AllValuesOfFirst(const StoredSources& sources) {
    for (const std::vector<StoredText>& source : sources) {
        std::vector<std::string> values;
        for (const StoredText& stored : source) {
            std::optional<std::string> text = Clean(stored);
            if (text && std::find(values.begin(), values.end(), *text) == values.end())
                values.push_back(std::move(*text));
        }
        if (values.empty()) continue;
        std::string joined = values.front();
        for (size_t i = 1; i < values.size(); ++i) joined.append(", ").append(values[i]);
        return joined;
    }
    return {};
}

}  // namespace

PhotoDetails ChooseDetails(const StoredDetails& stored) {
    return {FirstValue(stored.title), FirstValue(stored.description),
            AllValuesOfFirst(stored.keywords), FirstValue(stored.alt), std::nullopt};
}

}  // namespace vistello
