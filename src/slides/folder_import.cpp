#include "slides/folder_import.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <optional>

#include "files/path_rules.h"
#include "slides/media_signature.h"
#include "slides/photo_fields.h"
#include "text/key_value_lines.h"
#include "text/letter_case.h"

namespace vistello {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The run of digits at the front of text, without its leading zeros.
std::string_view DigitRun(std::string_view text, size_t& length) {
    length = 0;
    while (length < text.size() && IsDigit(text[length])) ++length;
    size_t zeros = 0;
    while (zeros + 1 < length && text[zeros] == '0') ++zeros;
    return text.substr(zeros, length - zeros);
}

// Negative, zero or positive as a orders before, with or after b, ignoring case.
int NaturalCompare(std::string_view a, std::string_view b) {
    while (!a.empty() && !b.empty()) {
        if (IsDigit(a.front()) && IsDigit(b.front())) {
            size_t lengthA = 0;
            size_t lengthB = 0;
            const std::string_view numberA = DigitRun(a, lengthA);
            const std::string_view numberB = DigitRun(b, lengthB);
            if (numberA.size() != numberB.size()) return numberA.size() < numberB.size() ? -1 : 1;
            if (const int order = numberA.compare(numberB); order != 0) return order;
            a.remove_prefix(lengthA);
            b.remove_prefix(lengthB);
            continue;
        }
        const auto x = static_cast<unsigned char>(AsciiLower(a.front()));
        const auto y = static_cast<unsigned char>(AsciiLower(b.front()));
        if (x != y) return x < y ? -1 : 1;
        a.remove_prefix(1);
        b.remove_prefix(1);
    }
    return static_cast<int>(!a.empty()) - static_cast<int>(!b.empty());
}

NewImages LeaveOutListed(FileOps& ops, std::vector<std::string> paths,
                         const std::unordered_set<std::string>& listed) {
    NewImages images;
    for (std::string& path : paths) {
        if (!FitsKeyValueLine(path)) {
            images.unfit.push_back(std::move(path));
        } else if (listed.contains(AbsolutePath(path))) {
            ++images.skipped;
        } else if (const std::optional<std::string> why = MediaMismatch(ops, path)) {
            images.refused.push_back(path + ": " + *why);
        } else {
            images.paths.push_back(std::move(path));
        }
    }
    return images;
}

}  // namespace

bool IsProjectFileName(std::string_view name) {
    return EqualIgnoringCase(ExtensionOf(name), "dat");
}

std::unordered_set<std::string> ListedPaths(const EntryList& rows) {
    std::unordered_set<std::string> listed;
    listed.reserve(static_cast<size_t>(rows.RowCount()));
    for (int row = 0; row < rows.RowCount(); ++row)
        listed.insert(AbsolutePath(rows.Row(row).imagePath));
    return listed;
}

bool NaturalLess(std::string_view a, std::string_view b) {
    const int order = NaturalCompare(a, b);
    return order != 0 ? order < 0 : a < b;
}

std::vector<std::string> ImageFilesIn(FileOps& ops, const std::string& folder) {
    std::optional<std::vector<FolderEntry>> entries = ops.ListFolder(folder);
    if (!entries) return {};
    std::vector<std::string> names;
    for (FolderEntry& entry : *entries) {
        if (entry.name.front() == '.' || !entry.regularFile || !IsImageFileName(entry.name))
            continue;
        names.push_back(std::move(entry.name));
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    std::string prefix = folder;
    AppendSeparator(prefix);
    for (std::string& name : names) name.insert(0, prefix);
    return names;
}

std::string TitleFromFileName(std::string_view name) { return std::string(StemOf(name)); }

NewImages NewImagesIn(FileOps& ops, const std::string& folder,
                      const std::unordered_set<std::string>& listed) {
    return LeaveOutListed(ops, ImageFilesIn(ops, folder), listed);
}

NewImages DroppedImages(FileOps& ops, const std::vector<std::string>& paths,
                        const std::unordered_set<std::string>& listed) {
    std::vector<std::string> images;
    for (const std::string& path : paths) {
        struct stat info {};
        if (ops.Stat(path, info) != 0) continue;
        if (S_ISDIR(info.st_mode)) {
            std::vector<std::string> inFolder = ImageFilesIn(ops, path);
            std::move(inFolder.begin(), inFolder.end(), std::back_inserter(images));
        } else if (S_ISREG(info.st_mode) && IsImageFileName(FileNameOf(path))) {
            images.push_back(path);
        }
    }
    std::sort(images.begin(), images.end(), NaturalLess);
    images.erase(std::unique(images.begin(), images.end()), images.end());
    return LeaveOutListed(ops, std::move(images), listed);
}

ImageEntry EntryFromPhoto(PhotoReader& photos, const std::string& path,
                          std::optional<TakenAt>* takenAt) {
    PhotoDetails details = photos.Read(path).value_or(PhotoDetails{});
    if (takenAt != nullptr) *takenAt = details.takenAt;
    if (details.title.empty()) details.title = TitleFromFileName(FileNameOf(path));
    ImageEntry entry = FieldsFromDetails(details);
    entry.imagePath = path;
    return entry;
}

}  // namespace vistello
