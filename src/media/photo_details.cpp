#include "media/photo_details.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "text/letter_case.h"

namespace vistello {

namespace {

// What cameras write when nobody described the photo.
constexpr std::array<std::string_view, 8> kPlaceholders = {"OLYMPUS DIGITAL CAMERA",
                                                           "SONY DSC",
                                                           "DCIM",
                                                           "DIGITAL CAMERA",
                                                           "SAMSUNG CAMERA PICTURES",
                                                           "KONICA MINOLTA DIGITAL CAMERA",
                                                           "MINOLTA DIGITAL CAMERA",
                                                           "KODAK Digital Still Camera"};

// One line of plain text, or nothing when the value tells nothing.
std::optional<std::string> Clean(const StoredText& stored) {
    std::optional<std::string> text = OneLineText(stored);
    if (!text) return std::nullopt;
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
