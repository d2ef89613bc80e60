#include "ui/album_facts.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "files/text_file.h"
#include "project/project_file.h"
#include "slides/slide_kind.h"
#include "text/key_value_lines.h"

namespace vistello {

namespace {

// A project lists its rows from the bottom one up.
std::string CoverAmong(const std::vector<std::string_view>& bottomFirst, std::string_view named) {
    if (!named.empty() &&
        std::find(bottomFirst.begin(), bottomFirst.end(), named) != bottomFirst.end())
        return std::string(named);
    for (const SlideKind kind : {SlideKind::Photo, SlideKind::Clip}) {
        const auto first =
            std::find_if(bottomFirst.rbegin(), bottomFirst.rend(),
                         [kind](std::string_view path) { return SlideKindOf(path) == kind; });
        if (first != bottomFirst.rend()) return std::string(*first);
    }
    return {};
}

}  // namespace

AlbumFacts ReadAlbumFacts(FileOps& ops, const std::string& album) {
    const std::optional<std::string> text = ReadLineFile(ops, album);
    if (!text || !HoldsProject(*text)) return {};
    std::vector<std::string_view> images;
    std::vector<std::string_view> imported;
    ScanProjectPaths(*text, images, imported);
    std::string_view named;
    bool locked = false;
    ForEachKeyValue(*text, [&](std::string_view key, std::string_view value) {
        if (key == "COVER") named = value;
        if (key == "PRIVATE") locked = value == "yes";
    });
    return {CoverAmong(images, named), locked};
}

}  // namespace vistello
