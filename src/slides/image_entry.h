#pragma once

#include <array>
#include <string>

namespace vistello {

// One slide. The field order is the list's column order.
struct ImageEntry {
    static constexpr int kColumnCount = 8;

    std::string title;
    std::string height;
    std::string width;
    std::string border;
    std::string alt;
    std::string keywords;
    std::string description;
    std::string imagePath;

    std::string& Column(int column) { return this->*kFields[static_cast<size_t>(column)]; }
    const std::string& Column(int column) const {
        return this->*kFields[static_cast<size_t>(column)];
    }

    bool operator==(const ImageEntry&) const = default;

private:
    static constexpr std::array<std::string ImageEntry::*, kColumnCount> kFields = {
        &ImageEntry::title,       &ImageEntry::height,   &ImageEntry::width,
        &ImageEntry::border,      &ImageEntry::alt,      &ImageEntry::keywords,
        &ImageEntry::description, &ImageEntry::imagePath};
};

inline constexpr std::array<const char*, ImageEntry::kColumnCount> kColumnHeaders = {
    "Title", "Height", "Width", "Border", "ALT", "Keywords", "Description", "Image"};

}  // namespace vistello
