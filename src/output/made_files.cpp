#include "output/made_files.h"

#include <algorithm>
#include <vector>

#include "files/atomic_file.h"
#include "files/file_copy.h"
#include "files/text_file.h"
#include "output/record_fields.h"
#include "text/digest.h"
#include "text/percent_encoding.h"

namespace vistello {

namespace {

// A WebP copy once kept the photo's details although asked not to: without them it has a word of
// its own, so that such a copy is made again. The other formats never kept them.
std::string_view DetailsWord(const ImageJob& job, std::string_view format) {
    if (job.keepDetails) return "keep";
    return format == "webp" ? "bare" : "strip";
}

std::string Recipe(const ImageJob& job, int side, std::string_view format) {
    return std::to_string(side) + "/" + std::to_string(job.quality) + "/" + std::string(format) +
           "/" + std::string(DetailsWord(job, format));
}

std::string Recipe(const ImageJob& job) { return Recipe(job, job.side, job.png ? "png" : "jpg"); }

std::string Recipe(const ImageJob& job, const ImageOutput& output) {
    static constexpr std::string_view kNames[] = {"jpg", "png", "webp", "avif"};
    return Recipe(job, output.side, kNames[static_cast<int>(output.format)]);
}

// Where it is known.
void AppendSize(std::string& text, int width, int height) {
    if (width <= 0) return;
    AppendRecordNumber(text, width);
    AppendRecordNumber(text, height);
}

std::optional<struct stat> StatOf(FileOps& ops, const std::string& path) {
    struct stat info {};
    if (ops.Stat(path, info) != 0) return std::nullopt;
    return info;
}

// The record is this program's own file in the folder, never one a link leads to: what anyone
// left there as a link is neither read nor written through.
bool IsLink(FileOps& ops, const std::string& path) {
    struct stat info {};
    return ops.Lstat(path, info) == 0 && S_ISLNK(info.st_mode);
}

}  // namespace

void MadeFiles::Read(FileOps& ops, const std::string& folder) {
    const std::string path = folder + std::string(kFileName);
    if (IsLink(ops, path)) return;
    const std::optional<std::string> text = ReadTextFile(ops, path);
    if (!text) return;
    ForEachRecordLine(*text,
                      [this](const std::vector<std::string_view>& fields) { ReadLine(fields); });
}

// A line that is not whole is left out, and so is what it said. Kept in name order, so the same
// images give the same file whichever run wrote it.
void MadeFiles::ReadLine(const std::vector<std::string_view>& f) {
    // Sizes, where kept, follow the fields of older files.
    const auto size = [&f](size_t at) {
        return f.size() > at + 1 ? std::pair{static_cast<int>(RecordNumber(f[at])),
                                             static_cast<int>(RecordNumber(f[at + 1]))}
                                 : std::pair{0, 0};
    };
    if ((f.size() == 7 || f.size() == 9) && f[0] == "F") {
        const auto [width, height] = size(7);
        m_sources[KeyFromRecord(PercentDecode(f[1]))] = {static_cast<off_t>(RecordNumber(f[2])),
                                                         RecordTime(f[3], f[4]),
                                                         {f[5] == "1", f[6] == "1", width, height}};
    } else if ((f.size() == 10 || f.size() == 12) && f[0] == "M") {
        const auto [width, height] = size(10);
        m_made[PercentDecode(f[1])] = {KeyFromRecord(PercentDecode(f[2])),
                                       static_cast<off_t>(RecordNumber(f[3])),
                                       RecordTime(f[4], f[5]),
                                       PercentDecode(f[6]),
                                       static_cast<off_t>(RecordNumber(f[7])),
                                       RecordTime(f[8], f[9]),
                                       width,
                                       height};
    } else if (f[0] != "S") {
        m_owned.ReadLine(f);
    }
}

bool MadeFiles::Write(FileOps& ops, const std::string& folder) const {
    std::string text;
    for (const auto& [path, source] : m_sources) {
        text += "F";
        AppendRecordField(text, path);
        AppendRecordNumber(text, source.size);
        AppendRecordTime(text, source.mtime);
        AppendRecordField(text, source.facts.gif ? "1" : "0");
        AppendRecordField(text, source.facts.transparent ? "1" : "0");
        if (m_keepSizes) AppendSize(text, source.facts.width, source.facts.height);
        text += '\n';
    }
    for (const auto& [target, made] : m_made) {
        text += "M";
        AppendRecordField(text, target);
        AppendRecordField(text, made.source);
        AppendRecordNumber(text, made.size);
        AppendRecordTime(text, made.mtime);
        AppendRecordField(text, made.recipe);
        AppendRecordNumber(text, made.targetSize);
        AppendRecordTime(text, made.targetMtime);
        if (m_keepSizes) AppendSize(text, made.width, made.height);
        text += '\n';
    }
    m_owned.AppendTo(text);
    const std::string path = folder + std::string(kFileName);
    if (IsLink(ops, path) && ops.Unlink(path) != 0) return false;
    return WriteFileIfChanged(ops, path, text, Flush::ToSystem);
}

std::optional<ImageFacts> MadeFiles::FactsOf(const std::string& source,
                                             const struct stat& now) const {
    const auto found = m_sources.find(Digest(source));
    if (found == m_sources.end() || found->second.size != now.st_size ||
        !SameTime(found->second.mtime, now.st_mtim))
        return std::nullopt;
    return found->second.facts;
}

void MadeFiles::NoteFacts(const std::string& source, const struct stat& now, ImageFacts facts) {
    m_sources[Digest(source)] = {now.st_size, now.st_mtim, facts};
}

std::optional<ShootingData> MadeFiles::ShootingOf(const std::string& source,
                                                  const struct stat& now) const {
    const auto found = m_shots.find(Digest(source));
    if (found == m_shots.end() || found->second.size != now.st_size ||
        !SameTime(found->second.mtime, now.st_mtim))
        return std::nullopt;
    return found->second.data;
}

void MadeFiles::NoteShooting(const std::string& source, const struct stat& now, ShootingData data) {
    m_shots[Digest(source)] = {now.st_size, now.st_mtim, std::move(data)};
}

void MadeFiles::KeepShootingOf(const std::vector<std::string>& sources) {
    std::map<std::string, Shot> named;
    for (const std::string& path : sources) {
        if (auto shot = m_shots.find(Digest(path)); shot != m_shots.end())
            named.insert(std::move(*shot));
    }
    m_shots.swap(named);
}

bool MadeFiles::HoldsFile(FileOps& ops, const std::string& folder, const std::string& target,
                          const std::string& recipe, const std::string& sourcePath,
                          const struct stat& source, bool sized) const {
    const auto found = m_made.find(target);
    if (found == m_made.end()) return false;
    const Made& made = found->second;
    const std::optional<struct stat> file = StatOf(ops, folder + target);
    return made.source == Digest(sourcePath) && made.size == source.st_size &&
           SameTime(made.mtime, source.st_mtim) && made.recipe == recipe && file &&
           file->st_size == made.targetSize && SameTime(file->st_mtim, made.targetMtime) &&
           (!sized || made.width > 0);
}

bool MadeFiles::Holds(FileOps& ops, const std::string& folder, const ImageJob& job,
                      const struct stat& source, bool sized) const {
    if (!HoldsFile(ops, folder, job.target, Recipe(job), job.source, source, sized)) return false;
    return std::all_of(job.more.begin(), job.more.end(), [&](const ImageOutput& output) {
        return HoldsFile(ops, folder, output.target, Recipe(job, output), job.source, source,
                         sized);
    });
}

std::pair<int, int> MadeFiles::SizeOf(const std::string& target) const {
    const auto found = m_made.find(target);
    if (found == m_made.end()) return {0, 0};
    return {found->second.width, found->second.height};
}

std::vector<std::string> MadeFiles::FilesMadeOf(
    const std::set<std::string, std::less<>>& sources) const {
    std::set<std::string> keys;
    for (const std::string& source : sources) keys.insert(Digest(source));
    std::vector<std::string> files;
    for (const auto& [target, made] : m_made) {
        if (keys.contains(made.source)) files.push_back(target);
    }
    return files;
}

void MadeFiles::KeepOnly(const std::vector<const ImageJob*>& jobs,
                         const std::vector<std::string>& sources,
                         const std::vector<std::string>& files) {
    std::map<std::string, Source> named;
    std::map<std::string, Made> made;
    for (const std::string& path : sources) {
        if (const auto source = m_sources.find(Digest(path)); source != m_sources.end())
            named.insert(*source);
    }
    const auto keep = [this, &made](const std::string& target) {
        if (const auto image = m_made.find(target); image != m_made.end()) made.insert(*image);
    };
    for (const ImageJob* job : jobs) {
        keep(job->target);
        for (const ImageOutput& output : job->more) keep(output.target);
    }
    for (const std::string& file : files) keep(file);
    m_sources.swap(named);
    m_made.swap(made);
}

void MadeFiles::TakeOthersFrom(const MadeFiles& fresh, const std::string& project) {
    m_owned.TakeOthersFrom(fresh.m_owned, project);
    for (const std::string& file : fresh.m_owned.FilesOfOthers(project)) {
        const auto made = fresh.m_made.find(file);
        if (made != fresh.m_made.end()) m_made.try_emplace(file, made->second);
    }
}

bool MadeFiles::AsMade(const std::string& target, const struct stat& now) const {
    const auto found = m_made.find(target);
    return found != m_made.end() && found->second.targetSize == now.st_size &&
           SameTime(found->second.targetMtime, now.st_mtim);
}

void MadeFiles::NoteFile(FileOps& ops, const std::string& folder, const std::string& target,
                         std::string recipe, const std::string& sourcePath,
                         const struct stat& source, int width, int height) {
    const std::optional<struct stat> file = StatOf(ops, folder + target);
    if (!file) {
        m_made.erase(target);
        return;
    }
    m_made[target] = {Digest(sourcePath), source.st_size, source.st_mtim, std::move(recipe),
                      file->st_size,      file->st_mtim,  width,          height};
}

void MadeFiles::NoteMade(FileOps& ops, const std::string& folder, const ImageJob& job,
                         const struct stat& source, const MadeImage& image) {
    const auto note = [&](const std::string& target, std::string recipe, size_t at) {
        const EncodedImage& made = image.images.at(at);
        NoteFile(ops, folder, target, std::move(recipe), job.source, source, made.width,
                 made.height);
    };
    note(job.target, Recipe(job), 0);
    for (size_t i = 0; i < job.more.size(); ++i)
        note(job.more[i].target, Recipe(job, job.more[i]), i + 1);
}

bool MadeFiles::MadeOf(const std::string& target, const std::string& source) const {
    const auto found = m_made.find(target);
    return found != m_made.end() && found->second.source == Digest(source);
}

bool MadeFiles::MadeOfAny(const std::string& target,
                          const std::set<std::string>& sourceKeys) const {
    const auto found = m_made.find(target);
    return found != m_made.end() && sourceKeys.contains(found->second.source);
}

bool MadeFiles::Taken(FileOps& ops, const std::string& folder, const std::string& name,
                      const std::string* source) const {
    if (m_project.empty() || !m_owned.AnyProject()) return false;
    struct stat info {};
    if (ops.Lstat(folder + name, info) != 0) return false;
    const WrittenFiles* mine = m_owned.Of(m_project);
    if ((mine && mine->contains(name)) || m_owned.Pending(m_project, name)) return false;
    struct stat from {};
    if (source && (MadeOf(name, *source) ||
                   (ops.Stat(*source, from) == 0 && IsCopyOf(ops, from, folder + name))))
        return false;
    if (m_made.contains(name) && !m_owned.AnyOwns(name)) return false;
    if (std::find(m_taken.begin(), m_taken.end(), name) == m_taken.end()) m_taken.push_back(name);
    return true;
}

}  // namespace vistello
