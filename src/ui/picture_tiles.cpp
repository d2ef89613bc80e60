#include "ui/picture_tiles.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

#include "slides/slide_kind.h"

namespace vistello {

namespace {

// Rows just out of sight come after every row in sight, nearest first.
constexpr int kOutOfSight = 1 << 20;
// Pictures out of sight asked for at one time.
constexpr int kOutOfSightAtOnce = 8;

std::string Key(ThumbnailSize size, const std::string& source) {
    return (size == ThumbnailSize::Large ? "L" : "X") + source;
}

ThumbnailSize SizeOf(const std::string& key) {
    return key.front() == 'L' ? ThumbnailSize::Large : ThumbnailSize::XLarge;
}

}  // namespace

struct PictureTiles::Inbox {
    void Put(uint64_t ticket, ThumbnailAnswer answer) {
        const std::lock_guard<std::mutex> lock(mutex);
        arrived.emplace_back(ticket, std::move(answer));
        if (arrived.size() == 1 && wake) wake();
    }

    std::mutex mutex;
    std::vector<std::pair<uint64_t, ThumbnailAnswer>> arrived;
    std::function<void()> wake;
};

PictureTiles::PictureTiles(const EntryList& slides, FileOps& files, ThumbnailService& thumbnails)
    : m_slides(slides),
      m_files(&files),
      m_thumbnails(&thumbnails),
      m_inbox(std::make_shared<Inbox>()) {}

PictureTiles::~PictureTiles() { CancelAll(); }

void PictureTiles::WakeWith(std::function<void()> wake) {
    const std::lock_guard<std::mutex> lock(m_inbox->mutex);
    m_inbox->wake = std::move(wake);
    if (m_inbox->wake && !m_inbox->arrived.empty()) m_inbox->wake();
}

TileLook PictureTiles::Tile(int row) const {
    if (!m_slides.HasRow(row)) return {};
    const RowPicture picture = PictureOf(row);
    TileLook look{{}, {}, picture.badge};
    if (picture.source.empty()) return look;
    if (const auto made = m_made.find(Key(ThumbnailSize::Large, picture.source));
        made != m_made.end()) {
        look.picture = made->second.png;
        look.failure = made->second.failure;
    }
    return look;
}

TileLook PictureTiles::Large(int row) {
    if (!m_slides.HasRow(row)) return {};
    FindHere();
    LearnAlbum(m_slides.Row(row).imagePath);
    const RowPicture picture = PictureOf(row);
    if (picture.source.empty()) return {{}, {}, picture.badge};
    m_largeKey = Key(ThumbnailSize::XLarge, picture.source);
    if (!m_made.contains(m_largeKey) && !m_askedKeys.contains(m_largeKey))
        Ask(picture.source, ThumbnailSize::XLarge, -1);
    if (const auto made = m_made.find(m_largeKey); made != m_made.end())
        return {made->second.png, made->second.failure, picture.badge};
    TileLook small = Tile(row);
    small.failure.clear();
    return small;
}

// Albums in reach are read first, since their covers are what their tiles show.
bool PictureTiles::Showing(int first, int last) {
    FindHere();
    const int count = m_slides.RowCount();
    first = std::clamp(first, 0, std::max(count - 1, 0));
    last = std::clamp(last, first, std::max(count - 1, 0));
    const int reach = last - first + 1;
    const int low = std::max(first - reach, 0);
    const int high = std::min(last + reach, count - 1);
    std::unordered_map<std::string, int> wanted;
    for (int row = low; row <= high; ++row) {
        LearnAlbum(m_slides.Row(row).imagePath);
        const int order = row < first  ? kOutOfSight + first - row
                          : row > last ? kOutOfSight + row - last
                                       : row - first;
        Want(wanted, row, order);
    }
    if (!m_largeKey.empty()) wanted.emplace(m_largeKey, -1);
    std::vector<uint64_t> unwanted;
    for (auto& [ticket, asked] : m_asked) {
        const auto want = wanted.find(asked.key);
        if (want == wanted.end()) {
            unwanted.push_back(ticket);
        } else {
            asked.order = want->second;
        }
    }
    for (const uint64_t ticket : unwanted) {
        m_thumbnails->Cancel(ticket);
        m_askedKeys.erase(m_asked[ticket].key);
        m_asked.erase(ticket);
    }
    m_thumbnails->Reorder([this](uint64_t ticket) {
        const auto asked = m_asked.find(ticket);
        return asked != m_asked.end() ? asked->second.order : std::numeric_limits<int>::max();
    });
    std::vector<std::pair<int, std::string>> unasked;
    for (const auto& [key, order] : wanted) {
        if (!m_made.contains(key) && !m_askedKeys.contains(key)) unasked.emplace_back(order, key);
    }
    std::sort(unasked.begin(), unasked.end());
    int outOfSight = 0;
    for (const auto& [order, key] : unasked) {
        if (order >= kOutOfSight && ++outOfSight > kOutOfSightAtOnce) return true;
        Ask(key.substr(1), SizeOf(key), order);
    }
    return false;
}

bool PictureTiles::TakeArrived() {
    std::vector<std::pair<uint64_t, ThumbnailAnswer>> arrived;
    {
        const std::lock_guard<std::mutex> lock(m_inbox->mutex);
        arrived.swap(m_inbox->arrived);
    }
    bool taken = false;
    for (auto& [ticket, answer] : arrived) {
        const auto asked = m_asked.find(ticket);
        if (asked == m_asked.end()) continue;
        m_made[asked->second.key] = {std::move(answer.png), std::move(answer.failure)};
        m_askedKeys.erase(asked->second.key);
        m_asked.erase(asked);
        taken = true;
    }
    return taken;
}

void PictureTiles::CancelAll() {
    for (const auto& [ticket, asked] : m_asked) m_thumbnails->Cancel(ticket);
    m_asked.clear();
    m_askedKeys.clear();
    m_largeKey.clear();
    m_made.clear();
}

PictureTiles::RowPicture PictureTiles::PictureOf(int row) const {
    const std::string& path = m_slides.Row(row).imagePath;
    switch (SlideKindOf(path)) {
        case SlideKind::Photo:
            return {Absolute(path), TileBadge::None};
        case SlideKind::Clip:
            return {Absolute(path), TileBadge::Clip};
        case SlideKind::Album:
            break;
    }
    const auto album = m_albums.find(Absolute(path));
    if (album == m_albums.end()) return {{}, TileBadge::Album};
    const AlbumFacts& facts = album->second.facts;
    return {facts.cover.empty() ? std::string() : Absolute(facts.cover),
            facts.locked ? TileBadge::PrivateAlbum : TileBadge::Album};
}

void PictureTiles::FindHere() {
    std::error_code error;
    m_here = std::filesystem::current_path(error).string();
}

// As the program opens the file: a relative path from the folder it runs in.
std::string PictureTiles::Absolute(const std::string& path) const {
    std::filesystem::path absolute(path);
    if (absolute.is_relative()) absolute = std::filesystem::path(m_here) / absolute;
    return absolute.lexically_normal().string();
}

// An album changed since, as its cover may be in the album itself, is read again.
void PictureTiles::LearnAlbum(const std::string& path) {
    if (SlideKindOf(path) != SlideKind::Album) return;
    const std::string album = Absolute(path);
    std::optional<FileStamp> stamp = StampOf(*m_files, album);
    const auto known = m_albums.find(album);
    if (known != m_albums.end() && known->second.stamp == stamp) return;
    m_albums[album] = {stamp, ReadAlbumFacts(*m_files, album)};
}

void PictureTiles::Ask(const std::string& source, ThumbnailSize size, int order) {
    const std::string key = Key(size, source);
    const uint64_t ticket = ++m_lastTicket;
    std::optional<ThumbnailAnswer> answer = m_thumbnails->Request(
        ticket, source, size, order, [inbox = m_inbox](uint64_t made, ThumbnailAnswer thumbnail) {
            inbox->Put(made, std::move(thumbnail));
        });
    if (answer) {
        m_made[key] = {std::move(answer->png), std::move(answer->failure)};
        return;
    }
    m_asked[ticket] = {key, order};
    m_askedKeys[key] = ticket;
}

void PictureTiles::Want(std::unordered_map<std::string, int>& wanted, int row, int order) const {
    const RowPicture picture = PictureOf(row);
    if (picture.source.empty()) return;
    const auto [place, added] = wanted.emplace(Key(ThumbnailSize::Large, picture.source), order);
    if (!added) place->second = std::min(place->second, order);
}

}  // namespace vistello
