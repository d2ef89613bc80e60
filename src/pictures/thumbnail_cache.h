#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "files/file_ops.h"
#include "media/image_maker.h"
#include "pictures/picture_pool.h"

namespace vistello {

// The sizes the desktop's thumbnail cache keeps, each in its own folder ("large", "x-large"): the
// longer edge at most, never enlarged.
enum class ThumbnailSize { Large = 256, XLarge = 512 };

struct ThumbnailAnswer {
    // The cached PNG to show, in the thumbnail cache; empty on failure.
    std::string png;
    // Why the picture cannot be shown, in words for the tile's hover text: plain text from the
    // image library or from a file in the cache, never markup.
    std::string failure;

    bool operator==(const ThumbnailAnswer&) const = default;
};

// The 32 lower-case hex digits of the MD5 sum of the bytes, which names a file in the cache. The
// front end supplies it from a library it already has.
using Md5Hex = std::function<std::string(std::string_view bytes)>;

using ThumbnailDone = std::function<void(uint64_t ticket, ThumbnailAnswer answer)>;

// The desktop's shared thumbnail cache: thumbnails another program made are shown as they are,
// and the ones made here serve the other programs. A thumbnail is good while it names the
// picture's URL and the picture's modification time (and size, where it says one); a changed
// picture gets a new one. A picture that cannot be made into one is remembered as such in the
// cache's fail folder, until it changes.
//
// Request, Reorder and Cancel are called from one thread (the window's). `done` is called on a
// picture thread; it must be quick and must not call the cache.
class ThumbnailCache {
public:
    // cacheHome: $XDG_CACHE_HOME, else $HOME/.cache (CacheHome in app/desktop_folder.h). The pool
    // is the program's (ProgramPool), on which no thumbnail starts while a Generate is under way.
    ThumbnailCache(FileOps& ops, ImageMaker& images, PicturePool& pool, std::string cacheHome,
                   Md5Hex md5);
    // Cancels every request and waits for those under way: no `done` is called once it returns.
    ~ThumbnailCache();
    ThumbnailCache(const ThumbnailCache&) = delete;
    ThumbnailCache& operator=(const ThumbnailCache&) = delete;

    // The thumbnail of `source`, an absolute path. A good one in the cache (or a remembered
    // failure, or a failure known at once, such as a missing file) is answered at once, and
    // `done` is never called. Otherwise nothing is answered, the thumbnail is made on the pool,
    // and `done` is called with its answer, lower `order` first. A ticket asked for again
    // replaces its earlier request.
    std::optional<ThumbnailAnswer> Request(uint64_t ticket, const std::string& source,
                                           ThumbnailSize size, int order, ThumbnailDone done);
    // New orders for the requests not yet started (visible tiles first).
    void Reorder(const std::function<int(uint64_t ticket)>& order);
    // No longer wanted: not started if it has not, and once Cancel returns `done` is not called
    // for it.
    void Cancel(uint64_t ticket);

    // Where the cache keeps the thumbnail of `source` at `size` ("<cacheHome>/thumbnails/large/
    // <md5 of the URL>.png").
    std::string PathOf(const std::string& source, ThumbnailSize size) const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

}  // namespace vistello
