// Both KEY=value files: any text reads without harm, and what is written reads back the same,
// but for trailing white space and the line ends and Ctrl-Z that are written as spaces.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "files/text_file.h"
#include "fuzz_input.h"
#include "prefs/preferences_file.h"
#include "project/project_file.h"
#include "slides/entry_list.h"
#include "text/key_value_lines.h"

using namespace vistello;
using vistello::fuzz::Check;
using vistello::fuzz::FuzzInput;

namespace {

// What a value looks like after it has been written and read back.
std::string Stored(std::string value) {
    std::replace(value.begin(), value.end(), '\n', ' ');
    std::replace(value.begin(), value.end(), '\x1A', ' ');
    return std::string(TrimTrailingSpace(value));
}

// Through the disk format too: CR LF out, back to LF in.
std::string OnDisk(const std::string& text) { return DecodeTextMode(EncodeTextMode(text)); }

void CheckPreferences(FuzzInput input) {
    Preferences written{input.Next(), {}, input.Next()};
    for (TagKey key : kFillOrder) written.tags[key] = input.Next();
    Preferences read;
    ParsePreferencesText(OnDisk(FormatPreferencesText(written)), read);
    Check(read.toolTips == Stored(written.toolTips), "tool tips changed");
    Check(read.projectFile == Stored(written.projectFile), "project file changed");
    for (TagKey key : kFillOrder) Check(read.tags[key] == Stored(written.tags[key]), "tag changed");
}

void CheckProject(FuzzInput input) {
    const std::string templateFile = input.Next();
    const std::string outputFolder = input.Next();
    EntryList rows;
    while (!input.Rest().empty()) {
        ImageEntry entry;
        for (int column = 0; column < ImageEntry::kColumnCount; ++column)
            entry.Column(column) = input.Next();
        if (!Stored(entry.imagePath).empty()) rows.InsertTop(std::move(entry));
    }
    ProjectFields fields;
    const std::vector<std::unique_ptr<ImageEntry>> read = ParseProjectText(
        OnDisk(FormatProjectText(templateFile, outputFolder, WebSettings{}, rows)), fields);
    Check(fields.templateFile == Stored(templateFile), "template changed");
    Check(fields.outputFolder == Stored(outputFolder), "output folder changed");
    Check(read.size() == static_cast<size_t>(rows.RowCount()), "entries lost or gained");
    for (size_t i = 0; i < read.size(); ++i) {
        const ImageEntry& shown = rows.Row(rows.RowCount() - 1 - static_cast<int>(i));
        for (int column = 0; column < ImageEntry::kColumnCount; ++column)
            Check(read[i]->Column(column) == Stored(shown.Column(column)), "value changed");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Preferences preferences;
    ParsePreferencesText(text, preferences);
    const std::string lines = text.substr(0, text.find('\x1A'));
    ProjectFields fromLines, fromText;
    const auto a = ParseProjectText(lines, fromLines);
    const auto b = ParseProjectText(DecodeTextMode(text), fromText);
    Check(a.size() == b.size() && fromLines.templateFile == fromText.templateFile &&
              fromLines.outputFolder == fromText.outputFolder && fromLines.page == fromText.page,
          "line ends on disk read differently");
    for (size_t i = 0; i < a.size(); ++i) Check(*a[i] == *b[i], "entry read differently");
    CheckPreferences({data, size});
    CheckProject({data, size});
    return 0;
}
