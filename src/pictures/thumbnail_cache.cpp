#include "pictures/thumbnail_cache.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "files/atomic_file.h"
#include "files/block_reader.h"
#include "files/error_text.h"
#include "pictures/png_text.h"
#include "pictures/thumbnail_uri.h"

namespace vistello {

namespace {

// More than a 512-pixel picture takes even unpacked: such a file is no thumbnail.
constexpr off_t kMaxThumbnailBytes = 4 << 20;
// Why the picture could not be made into a thumbnail, in the fail folder's entry.
constexpr const char* kFailureKey = "Vistello::Failure";
constexpr size_t kMaxFailureBytes = 1000;
constexpr const char* kUnreadable = "the picture cannot be read";

const char* FolderName(ThumbnailSize size) {
    return size == ThumbnailSize::Large ? "large" : "x-large";
}

// What the cache's entries for a source are checked against.
struct Source {
    std::string path;
    std::string uri;
    // The entry's file name in each folder: the URL's MD5 sum.
    std::string name;
    time_t mtime = 0;
    off_t size = 0;
};

std::optional<PngFacts> CachedPng(FileOps& ops, const std::string& path) {
    BlockReader file(ops, path);
    if (!file.IsOpen() || file.Info().st_size > kMaxThumbnailBytes) return std::nullopt;
    // As large as it was when opened, however it grows meanwhile.
    std::string bytes(static_cast<size_t>(file.Info().st_size), '\0');
    if (!file.ReadAt(0, bytes.data(), bytes.size())) return std::nullopt;
    return ReadPng(bytes);
}

std::string TextOf(const PngFacts& facts, const std::string& key) {
    const auto at = facts.text.find(key);
    return at == facts.text.end() ? std::string() : at->second;
}

// Made from this very file as it stands: the size is checked too where the entry says it, since a
// file rewritten within the second keeps its time.
bool Describes(const PngFacts& facts, const Source& source) {
    const auto size = facts.text.find("Thumb::Size");
    return TextOf(facts, "Thumb::URI") == source.uri &&
           TextOf(facts, "Thumb::MTime") == std::to_string(source.mtime) &&
           (size == facts.text.end() || size->second == std::to_string(source.size));
}

bool IsGoodThumbnail(FileOps& ops, const std::string& path, const Source& source,
                     ThumbnailSize size) {
    const std::optional<PngFacts> facts = CachedPng(ops, path);
    return facts && Describes(*facts, source) &&
           std::max(facts->width, facts->height) <= static_cast<int>(size);
}

std::optional<std::string> RememberedFailure(FileOps& ops, const std::string& path,
                                             const Source& source) {
    const std::optional<PngFacts> facts = CachedPng(ops, path);
    if (!facts || !Describes(*facts, source)) return std::nullopt;
    std::string reason = TextOf(*facts, kFailureKey).substr(0, kMaxFailureBytes);
    return reason.empty() ? kUnreadable : reason;
}

std::vector<PngText> KeysOf(const Source& source) {
    return {{"Thumb::URI", source.uri, false},
            {"Thumb::MTime", std::to_string(source.mtime), false},
            {"Thumb::Size", std::to_string(source.size), false},
            {"Software", "Vistello " VISTELLO_VERSION, false}};
}

// Each folder on the way that is made here is the user's alone, as the cache's folders must be.
void MakePrivateFolders(FileOps& ops, const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string step = folder.substr(0, slash);
        if (ops.MakeFolder(step) == 0) {
            const int fd = ops.OpenForReading(step);
            if (fd >= 0) {
                ops.Fchmod(fd, 0700);
                ops.Close(fd);
            }
        }
        if (slash == std::string::npos) return;
    }
}

// The user's alone, as the cache's files must be; its folders made on the first write.
bool WritePrivate(FileOps& ops, const std::string& folder, const std::string& name,
                  std::string_view bytes) {
    const TemporaryFiller fill = [&ops, bytes](int fd, const BlockWriter& write) {
        return ops.Fchmod(fd, 0600) == 0 && write(bytes);
    };
    const std::string path = folder + "/" + name;
    if (ReplaceMadeFile(ops, path, fill)) return true;
    if (errno != ENOENT) return false;
    MakePrivateFolders(ops, folder);
    return ReplaceMadeFile(ops, path, fill);
}

// Written as the paths of the pictures asked for are, so that those inside it are known as such:
// a home given with a trailing slash or dots is the same folder.
std::string CacheRoot(std::string cacheHome) {
    return (std::filesystem::path(std::move(cacheHome)) / "thumbnails").lexically_normal().string();
}

}  // namespace

struct ThumbnailCache::State {
    struct Job {
        uint64_t ticket = 0;
        Source source;
        ThumbnailSize size = ThumbnailSize::Large;
        ThumbnailDone done;
    };

    State(FileOps& fileOps, ImageMaker& imageMaker, PicturePool& picturePool, std::string cacheHome,
          Md5Hex md5Hex)
        : ops(fileOps),
          images(imageMaker),
          pool(picturePool),
          root(CacheRoot(std::move(cacheHome))),
          md5(std::move(md5Hex)) {}

    std::string Folder(ThumbnailSize size) const { return root + "/" + FolderName(size); }
    std::string FailFolder() const { return root + "/fail/vistello-" VISTELLO_VERSION; }
    void Forget(uint64_t ticket);
    ThumbnailAnswer Make(const Job& job);
    ThumbnailAnswer Failed(const Job& job, const std::string& reason);
    static void MakeNext(const std::shared_ptr<State>& state);

    FileOps& ops;
    ImageMaker& images;
    PicturePool& pool;
    const std::string root;
    const Md5Hex md5;

    std::mutex mutex;
    std::condition_variable idle;
    // Waiting, lower order first, then in the order asked.
    std::map<std::pair<int, uint64_t>, Job> waiting;
    std::unordered_map<uint64_t, std::pair<int, uint64_t>> waitingTicket;
    // The request whose answer is still wanted, for each ticket under way.
    std::unordered_map<uint64_t, uint64_t> underWay;
    uint64_t asked = 0;
    int busy = 0;
};

void ThumbnailCache::State::Forget(uint64_t ticket) {
    if (const auto at = waitingTicket.find(ticket); at != waitingTicket.end()) {
        waiting.erase(at->second);
        waitingTicket.erase(at);
    }
    underWay.erase(ticket);
}

// A failure is remembered only when the picture itself could not be made into a thumbnail; the
// entry names the file as it stands, so that a change to it brings another try.
ThumbnailAnswer ThumbnailCache::State::Failed(const Job& job, const std::string& reason) {
    const std::string said = reason.empty() ? kUnreadable : reason.substr(0, kMaxFailureBytes);
    std::vector<PngText> keys = KeysOf(job.source);
    keys.push_back({kFailureKey, said, true});
    if (const std::optional<std::string> entry = WithText(OnePixelPng(), keys))
        static_cast<void>(WritePrivate(ops, FailFolder(), job.source.name, *entry));
    return {{}, said};
}

ThumbnailAnswer ThumbnailCache::State::Make(const Job& job) {
    const std::string folder = Folder(job.size);
    const std::string path = folder + "/" + job.source.name;
    // The same picture may have been asked for twice, and made for the first.
    if (IsGoodThumbnail(ops, path, job.source, job.size)) return {path, {}};
    ImageJob image;
    image.source = job.source.path;
    image.side = static_cast<int>(job.size);
    image.png = true;
    // Made while the user waits, and read far more often than written: time counts, not bytes.
    image.quick = true;
    const MadeImage made = images.Make(image);
    images.EndThread();
    if (made.images.empty()) return Failed(job, made.failure);
    const std::optional<std::string> png = WithText(made.images.front().bytes, KeysOf(job.source));
    if (!png) return {{}, "the image library made no PNG"};
    if (!WritePrivate(ops, folder, job.source.name, *png))
        return {{}, "the thumbnail cannot be saved in " + folder + ": " + ErrorText(errno)};
    return {path, {}};
}

// One task for each request: it makes the first one waiting, whichever that is by then.
void ThumbnailCache::State::MakeNext(const std::shared_ptr<State>& state) {
    std::unique_lock lock(state->mutex);
    if (state->waiting.empty()) return;
    auto node = state->waiting.extract(state->waiting.begin());
    const uint64_t request = node.key().second;
    Job job = std::move(node.mapped());
    state->waitingTicket.erase(job.ticket);
    state->underWay[job.ticket] = request;
    ++state->busy;
    lock.unlock();
    ThumbnailAnswer answer;
    try {
        answer = state->Make(job);
    } catch (...) {
        answer = {{}, ExceptionText(std::current_exception())};
    }
    lock.lock();
    if (const auto at = state->underWay.find(job.ticket);
        at != state->underWay.end() && at->second == request) {
        state->underWay.erase(at);
        try {
            job.done(job.ticket, std::move(answer));
        } catch (...) {
            // The window heard nothing it could show; the thumbnail is in the cache for next time.
        }
    }
    if (--state->busy == 0) state->idle.notify_all();
}

ThumbnailCache::ThumbnailCache(FileOps& ops, ImageMaker& images, PicturePool& pool,
                               std::string cacheHome, Md5Hex md5)
    : m_state(std::make_shared<State>(ops, images, pool, std::move(cacheHome), std::move(md5))) {}

ThumbnailCache::~ThumbnailCache() {
    std::unique_lock lock(m_state->mutex);
    m_state->waiting.clear();
    m_state->waitingTicket.clear();
    m_state->underWay.clear();
    m_state->idle.wait(lock, [this] { return m_state->busy == 0; });
}

std::string ThumbnailCache::PathOf(const std::string& source, ThumbnailSize size) const {
    return m_state->Folder(size) + "/" + m_state->md5(ThumbnailUri(source)) + ".png";
}

std::optional<ThumbnailAnswer> ThumbnailCache::Request(uint64_t ticket, const std::string& source,
                                                       ThumbnailSize size, int order,
                                                       ThumbnailDone done) {
    State& state = *m_state;
    Cancel(ticket);
    if (!source.starts_with('/')) return ThumbnailAnswer{{}, "not an absolute path"};
    // A thumbnail is its own thumbnail: one of a thumbnail would only crowd the cache.
    if (source.starts_with(state.root + "/")) return ThumbnailAnswer{source, {}};
    struct stat info {};
    if (state.ops.Stat(source, info) != 0) return ThumbnailAnswer{{}, ErrorText(errno)};
    if (!S_ISREG(info.st_mode))
        return ThumbnailAnswer{{}, S_ISDIR(info.st_mode) ? ErrorText(EISDIR) : "not a file"};
    Source what{source, ThumbnailUri(source), {}, info.st_mtim.tv_sec, info.st_size};
    what.name = state.md5(what.uri) + ".png";
    const std::string path = state.Folder(size) + "/" + what.name;
    if (IsGoodThumbnail(state.ops, path, what, size)) return ThumbnailAnswer{path, {}};
    if (std::optional<std::string> failure =
            RememberedFailure(state.ops, state.FailFolder() + "/" + what.name, what))
        return ThumbnailAnswer{{}, std::move(*failure)};
    {
        const std::lock_guard lock(state.mutex);
        const std::pair<int, uint64_t> key{order, ++state.asked};
        state.waiting.emplace(key, State::Job{ticket, std::move(what), size, std::move(done)});
        state.waitingTicket[ticket] = key;
    }
    state.pool.Post(PicturePool::Lane::Later, [held = m_state] { State::MakeNext(held); });
    return std::nullopt;
}

void ThumbnailCache::Reorder(const std::function<int(uint64_t ticket)>& order) {
    const std::lock_guard lock(m_state->mutex);
    std::vector<int> orders;
    orders.reserve(m_state->waiting.size());
    for (const auto& [key, job] : m_state->waiting) orders.push_back(order(job.ticket));
    std::map<std::pair<int, uint64_t>, State::Job> reordered;
    size_t at = 0;
    for (auto& [key, job] : m_state->waiting) {
        const std::pair<int, uint64_t> now{orders[at++], key.second};
        m_state->waitingTicket[job.ticket] = now;
        reordered.emplace(now, std::move(job));
    }
    m_state->waiting.swap(reordered);
}

void ThumbnailCache::Cancel(uint64_t ticket) {
    const std::lock_guard lock(m_state->mutex);
    m_state->Forget(ticket);
}

}  // namespace vistello
