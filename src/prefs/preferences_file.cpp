#include "prefs/preferences_file.h"

#include <array>

#include "text/key_value_lines.h"

namespace vistello {

namespace {

// The lines in the order written, TOOLTIPS among the tags.
enum class Line { Tag, ToolTips, ProjectFile };

struct LineKey {
    Line line;
    TagKey tag;
};

constexpr std::array<LineKey, kTagCount + 2> kLines = {{
    {Line::Tag, TagKey::ImagePath},
    {Line::Tag, TagKey::ImageTitle},
    {Line::Tag, TagKey::Height},
    {Line::Tag, TagKey::Width},
    {Line::Tag, TagKey::Border},
    {Line::Tag, TagKey::Alt},
    {Line::Tag, TagKey::Keywords},
    {Line::ToolTips, TagKey::ImagePath},
    {Line::Tag, TagKey::Description},
    {Line::ProjectFile, TagKey::ImagePath},
}};

std::string_view KeyName(const LineKey& key) {
    switch (key.line) {
        case Line::ToolTips:
            return "TOOLTIPS";
        case Line::ProjectFile:
            return "FILE";
        case Line::Tag:
            break;
    }
    return TagKeyName(key.tag);
}

// Preferences or const Preferences; the reference keeps its constness.
template <typename Prefs>
auto& Text(Prefs& preferences, const LineKey& key) {
    switch (key.line) {
        case Line::ToolTips:
            return preferences.toolTips;
        case Line::ProjectFile:
            return preferences.projectFile;
        case Line::Tag:
            break;
    }
    return preferences.tags[key.tag];
}

// The keys a file of a program that never opened the Pictures window leaves out.
struct OptionalLine {
    std::string_view name;
    std::string Preferences::*text;
};

constexpr std::array<OptionalLine, 3> kOptionalLines = {{
    {"PICTURES", &Preferences::pictures},
    {"PICTURESPLACE", &Preferences::picturesPlace},
    {"PICTURESIZE", &Preferences::pictureSize},
}};

}  // namespace

std::string FormatPreferencesText(const Preferences& preferences) {
    std::string text = "CREATOR=Vistello 1.0\n";
    for (const LineKey& key : kLines) {
        AppendKeyValueLine(text, KeyName(key), Text(preferences, key));
    }
    for (const OptionalLine& line : kOptionalLines) {
        const std::string& value = preferences.*line.text;
        if (!value.empty()) AppendKeyValueLine(text, line.name, value);
    }
    return text + "\n";
}

void ParsePreferencesText(std::string_view text, Preferences& preferences) {
    ForEachKeyValue(text, [&](std::string_view name, std::string_view value) {
        for (const LineKey& key : kLines) {
            if (name != KeyName(key)) continue;
            Text(preferences, key) = value;
        }
        for (const OptionalLine& line : kOptionalLines) {
            if (name == line.name) preferences.*line.text = value;
        }
    });
}

}  // namespace vistello
