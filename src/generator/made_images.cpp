#include "generator/made_images.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "files/atomic_file.h"
#include "files/text_file.h"
#include "text/percent_encoding.h"

namespace vistello {

namespace {

bool Plain(unsigned char byte) { return byte > ' ' && byte != '%' && byte != 0x7F; }

bool SameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::string Recipe(const ImageJob& job, int side, std::string_view format) {
    return std::to_string(side) + "/" + std::to_string(job.quality) + "/" + std::string(format) +
           "/" + (job.keepDetails ? "keep" : "strip");
}

std::string Recipe(const ImageJob& job) { return Recipe(job, job.side, job.png ? "png" : "jpg"); }

std::string Recipe(const ImageJob& job, const ImageOutput& output) {
    static constexpr std::string_view kNames[] = {"jpg", "png", "webp", "avif"};
    return Recipe(job, output.side, kNames[static_cast<int>(output.format)]);
}

long long Number(std::string_view text) {
    long long number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

struct timespec Time(std::string_view seconds, std::string_view nanoseconds) {
    struct timespec time {};
    time.tv_sec = static_cast<time_t>(Number(seconds));
    time.tv_nsec = static_cast<long>(Number(nanoseconds));
    return time;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

void AppendField(std::string& text, std::string_view value) {
    text.append(1, '\t').append(PercentEncode(value, Plain));
}

void AppendNumber(std::string& text, long long value) { AppendField(text, std::to_string(value)); }

// Where it is known.
void AppendSize(std::string& text, int width, int height) {
    if (width <= 0) return;
    AppendNumber(text, width);
    AppendNumber(text, height);
}

void AppendTime(std::string& text, const struct timespec& time) {
    AppendNumber(text, time.tv_sec);
    AppendNumber(text, time.tv_nsec);
}

std::optional<struct stat> StatOf(FileOps& ops, const std::string& path) {
    struct stat info {};
    if (ops.Stat(path, info) != 0) return std::nullopt;
    return info;
}

}  // namespace

void MadeImages::Read(FileOps& ops, const std::string& folder) {
    const std::optional<std::string> text = ReadTextFile(ops, folder + std::string(kFileName));
    if (!text) return;
    for (size_t start = 0; start < text->size();) {
        size_t end = text->find('\n', start);
        if (end == std::string::npos) end = text->size();
        ReadLine(std::string_view(*text).substr(start, end - start));
        start = end + 1;
    }
}

// A line that is not whole is left out, and so is what it said. Kept in name order, so the same
// images give the same file whichever run wrote it.
void MadeImages::ReadLine(std::string_view line) {
    const std::vector<std::string_view> f = Fields(line);
    // Sizes, where kept, follow the fields of older files.
    const auto size = [&f](size_t at) {
        return f.size() > at + 1
                   ? std::pair{static_cast<int>(Number(f[at])), static_cast<int>(Number(f[at + 1]))}
                   : std::pair{0, 0};
    };
    if ((f.size() == 7 || f.size() == 9) && f[0] == "F") {
        const auto [width, height] = size(7);
        m_sources[PercentDecode(f[1])] = {static_cast<off_t>(Number(f[2])),
                                          Time(f[3], f[4]),
                                          {f[5] == "1", f[6] == "1", width, height}};
    } else if ((f.size() == 10 || f.size() == 12) && f[0] == "M") {
        const auto [width, height] = size(10);
        m_made[PercentDecode(f[1])] = {PercentDecode(f[2]),
                                       static_cast<off_t>(Number(f[3])),
                                       Time(f[4], f[5]),
                                       PercentDecode(f[6]),
                                       static_cast<off_t>(Number(f[7])),
                                       Time(f[8], f[9]),
                                       width,
                                       height};
    } else if (f.size() == 9 && f[0] == "S") {
        m_shots[PercentDecode(f[1])] = {
            static_cast<off_t>(Number(f[2])),
            Time(f[3], f[4]),
            {PercentDecode(f[5]), PercentDecode(f[6]), PercentDecode(f[7]), PercentDecode(f[8])}};
    }
}

bool MadeImages::Write(FileOps& ops, const std::string& folder) const {
    std::string text;
    for (const auto& [path, source] : m_sources) {
        text += "F";
        AppendField(text, path);
        AppendNumber(text, source.size);
        AppendTime(text, source.mtime);
        AppendField(text, source.facts.gif ? "1" : "0");
        AppendField(text, source.facts.transparent ? "1" : "0");
        if (m_keepSizes) AppendSize(text, source.facts.width, source.facts.height);
        text += '\n';
    }
    for (const auto& [target, made] : m_made) {
        text += "M";
        AppendField(text, target);
        AppendField(text, made.source);
        AppendNumber(text, made.size);
        AppendTime(text, made.mtime);
        AppendField(text, made.recipe);
        AppendNumber(text, made.targetSize);
        AppendTime(text, made.targetMtime);
        if (m_keepSizes) AppendSize(text, made.width, made.height);
        text += '\n';
    }
    for (const auto& [path, shot] : m_shots) {
        text += "S";
        AppendField(text, path);
        AppendNumber(text, shot.size);
        AppendTime(text, shot.mtime);
        for (const std::string* value :
             {&shot.data.dateTaken, &shot.data.camera, &shot.data.lens, &shot.data.exposure})
            AppendField(text, *value);
        text += '\n';
    }
    return WriteFileIfChanged(ops, folder + std::string(kFileName), text, Flush::ToSystem);
}

std::optional<ImageFacts> MadeImages::FactsOf(const std::string& source,
                                              const struct stat& now) const {
    const auto found = m_sources.find(source);
    if (found == m_sources.end() || found->second.size != now.st_size ||
        !SameTime(found->second.mtime, now.st_mtim))
        return std::nullopt;
    return found->second.facts;
}

void MadeImages::NoteFacts(const std::string& source, const struct stat& now, ImageFacts facts) {
    m_sources[source] = {now.st_size, now.st_mtim, facts};
}

std::optional<ShootingData> MadeImages::ShootingOf(const std::string& source,
                                                   const struct stat& now) const {
    const auto found = m_shots.find(source);
    if (found == m_shots.end() || found->second.size != now.st_size ||
        !SameTime(found->second.mtime, now.st_mtim))
        return std::nullopt;
    return found->second.data;
}

void MadeImages::NoteShooting(const std::string& source, const struct stat& now,
                              ShootingData data) {
    m_shots[source] = {now.st_size, now.st_mtim, std::move(data)};
}

void MadeImages::KeepShootingOf(const std::vector<std::string>& sources) {
    std::map<std::string, Shot> named;
    for (const std::string& path : sources) {
        if (auto shot = m_shots.find(path); shot != m_shots.end()) named.insert(std::move(*shot));
    }
    m_shots.swap(named);
}

bool MadeImages::HoldsFile(FileOps& ops, const std::string& folder, const std::string& target,
                           const std::string& recipe, const std::string& sourcePath,
                           const struct stat& source, bool sized) const {
    const auto found = m_made.find(target);
    if (found == m_made.end()) return false;
    const Made& made = found->second;
    const std::optional<struct stat> file = StatOf(ops, folder + target);
    return made.source == sourcePath && made.size == source.st_size &&
           SameTime(made.mtime, source.st_mtim) && made.recipe == recipe && file &&
           file->st_size == made.targetSize && SameTime(file->st_mtim, made.targetMtime) &&
           (!sized || made.width > 0);
}

bool MadeImages::Holds(FileOps& ops, const std::string& folder, const ImageJob& job,
                       const struct stat& source, bool sized) const {
    if (!HoldsFile(ops, folder, job.target, Recipe(job), job.source, source, sized)) return false;
    return std::all_of(job.more.begin(), job.more.end(), [&](const ImageOutput& output) {
        return HoldsFile(ops, folder, output.target, Recipe(job, output), job.source, source,
                         sized);
    });
}

std::pair<int, int> MadeImages::SizeOf(const std::string& target) const {
    const auto found = m_made.find(target);
    if (found == m_made.end()) return {0, 0};
    return {found->second.width, found->second.height};
}

void MadeImages::KeepOnly(const std::vector<ImageJob>& jobs,
                          const std::vector<std::string>& sources,
                          const std::vector<std::string>& files) {
    std::map<std::string, Source> named;
    std::map<std::string, Made> made;
    for (const std::string& path : sources) {
        if (const auto source = m_sources.find(path); source != m_sources.end())
            named.insert(*source);
    }
    const auto keep = [this, &made](const std::string& target) {
        if (const auto image = m_made.find(target); image != m_made.end()) made.insert(*image);
    };
    for (const ImageJob& job : jobs) {
        keep(job.target);
        for (const ImageOutput& output : job.more) keep(output.target);
    }
    for (const std::string& file : files) keep(file);
    m_sources.swap(named);
    m_made.swap(made);
}

void MadeImages::NoteFile(FileOps& ops, const std::string& folder, const std::string& target,
                          std::string recipe, const std::string& sourcePath,
                          const struct stat& source, int width, int height) {
    const std::optional<struct stat> file = StatOf(ops, folder + target);
    if (!file) {
        m_made.erase(target);
        return;
    }
    m_made[target] = {sourcePath,    source.st_size, source.st_mtim, std::move(recipe),
                      file->st_size, file->st_mtim,  width,          height};
}

void MadeImages::NoteMade(FileOps& ops, const std::string& folder, const ImageJob& job,
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

}  // namespace vistello
