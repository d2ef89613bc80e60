#include "publish/publish_manifest.h"

#include <algorithm>
#include <charconv>

#include "text/digest.h"
#include "text/percent_encoding.h"

namespace vistello {

namespace {

constexpr std::string_view kServerHeader = "vistello-published 1";
constexpr std::string_view kLocalHeader = "vistello-publish-cache 1";

bool PlainInLine(unsigned char byte) { return byte > 0x20 && byte != '%' && byte != 0x7f; }

std::string Encoded(std::string_view name) { return PercentEncode(name, PlainInLine); }

bool IsSum(std::string_view text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// Splits off the text before the next space.
std::string_view Field(std::string_view& line) {
    const size_t space = line.find(' ');
    const std::string_view field = line.substr(0, space);
    line.remove_prefix(space == line.npos ? line.size() : space + 1);
    return field;
}

template <typename Number>
bool ReadNumber(std::string_view text, Number& number) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

template <typename Visit>
void ForEachLine(std::string_view text, std::string_view header, Visit&& visit) {
    size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == text.npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (first && line != header) return;
        if (!first) visit(line);
        first = false;
        start = end + 1;
    }
}

// "SUM NAME": the name decoded, when both are sound.
bool ReadSumAndName(std::string_view line, std::string& sum, std::string& name) {
    sum = Field(line);
    name = PercentDecode(line);
    return IsSum(sum) && PublishableName(name);
}

void AppendServerLines(std::string& text, const ServerManifest& manifest, std::string_view mark) {
    std::vector<const ServerManifest::value_type*> sorted;
    sorted.reserve(manifest.size());
    for (const auto& entry : manifest) sorted.push_back(&entry);
    std::sort(sorted.begin(), sorted.end(), [](auto a, auto b) { return a->first < b->first; });
    for (const auto* entry : sorted) {
        text += mark;
        text += entry->second;
        text += ' ';
        text += Encoded(entry->first);
        text += '\n';
    }
}

void ReadLocalLine(std::string_view line, LocalManifest& manifest) {
    const std::string_view kind = Field(line);
    std::string sum, name;
    if (kind == "FOLDER") {
        manifest.folder = PercentDecode(line);
    } else if (kind == "WRITTEN") {
        manifest.written = true;
    } else if (kind == "S") {
        if (ReadSumAndName(line, sum, name)) manifest.server[name] = sum;
    } else if (kind == "L") {
        SiteFile file;
        file.sha256 = Field(line);
        const bool numbers = ReadNumber(Field(line), file.size) &&
                             ReadNumber(Field(line), file.seconds) &&
                             ReadNumber(Field(line), file.nanoseconds);
        file.name = PercentDecode(line);
        if (numbers && IsSum(file.sha256) && PublishableName(file.name))
            manifest.files.push_back(std::move(file));
    }
}

}  // namespace

std::string FormatServerManifest(const ServerManifest& manifest) {
    std::string text(kServerHeader);
    text += '\n';
    AppendServerLines(text, manifest, "");
    return text;
}

ServerManifest ParseServerManifest(std::string_view text) {
    ServerManifest manifest;
    ForEachLine(text, kServerHeader, [&manifest](std::string_view line) {
        std::string sum, name;
        if (ReadSumAndName(line, sum, name)) manifest[name] = sum;
    });
    return manifest;
}

std::string FormatLocalManifest(const LocalManifest& manifest) {
    std::string text(kLocalHeader);
    text += "\nFOLDER " + Encoded(manifest.folder) + "\n";
    if (manifest.written) text += "WRITTEN\n";
    for (const SiteFile& file : manifest.files) {
        text += "L " + file.sha256 + ' ' + std::to_string(file.size) + ' ' +
                std::to_string(file.seconds) + ' ' + std::to_string(file.nanoseconds) + ' ' +
                Encoded(file.name) + '\n';
    }
    AppendServerLines(text, manifest.server, "S ");
    return text;
}

LocalManifest ParseLocalManifest(std::string_view text) {
    LocalManifest manifest;
    ForEachLine(text, kLocalHeader,
                [&manifest](std::string_view line) { ReadLocalLine(line, manifest); });
    return manifest;
}

std::string LocalManifestPath(const std::string& manifestFolder, std::string_view address) {
    return manifestFolder + "/" + Digest(address);
}

}  // namespace vistello
