#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "files/file_ops.h"
#include "files/file_stamp.h"
#include "framework/pictures_window.h"
#include "slides/entry_list.h"
#include "ui/album_facts.h"
#include "ui/thumbnail_service.h"

namespace vistello {

// The pictures of a Pictures window's tiles and preview: asked of the thumbnails for the rows in
// sight first, then for a screen's worth on either side; given up once they are out of reach
// before they were made; kept once they are. Pictures made on other threads wait in an inbox
// until the window's thread takes them in.
class PictureTiles {
public:
    PictureTiles(const EntryList& slides, FileOps& files, ThumbnailService& thumbnails);
    ~PictureTiles();
    PictureTiles(const PictureTiles&) = delete;
    PictureTiles& operator=(const PictureTiles&) = delete;

    void UseFileOps(FileOps& files) { m_files = &files; }
    // Only while nothing is asked.
    void UseThumbnails(ThumbnailService& thumbnails) { m_thumbnails = &thumbnails; }
    // Called, on whichever thread a picture is made, when the inbox was empty; nullptr for none.
    void WakeWith(std::function<void()> wake);

    TileLook Tile(int row) const;
    // The row's picture for the preview: the larger one, asked before everything else; the
    // tile's while the larger one is being made.
    TileLook Large(int row);
    // Those in sight are asked for at once, the others a few at a time: each asking reads the
    // cache. True while some are still to be asked for.
    bool Showing(int first, int last);

    // False when no picture came in.
    bool TakeArrived();
    // Nothing asked is wanted any longer, and what was made is asked for again next time: the
    // cache knows whether a photo changed meanwhile, which a picture kept here would hide.
    void CancelAll();

private:
    struct Made {
        std::string png;
        std::string failure;
    };
    struct Asked {
        std::string key;
        int order = 0;
    };
    struct Inbox;
    // The picture a row shows, and its badge.
    struct RowPicture {
        std::string source;
        TileBadge badge = TileBadge::None;
    };

    RowPicture PictureOf(int row) const;
    void FindHere();
    std::string Absolute(const std::string& path) const;
    void LearnAlbum(const std::string& album);
    void Ask(const std::string& source, ThumbnailSize size, int order);
    void Want(std::unordered_map<std::string, int>& wanted, int row, int order) const;

    const EntryList& m_slides;
    FileOps* m_files;
    ThumbnailService* m_thumbnails;
    std::shared_ptr<Inbox> m_inbox;
    // The folder relative paths start from, as it was when the rows were last shown.
    std::string m_here;
    std::unordered_map<std::string, Made> m_made;
    std::unordered_map<uint64_t, Asked> m_asked;
    std::unordered_map<std::string, uint64_t> m_askedKeys;
    // What each album's project said, as its file was when it was read.
    struct KnownAlbum {
        std::optional<FileStamp> stamp;
        AlbumFacts facts;
    };
    std::unordered_map<std::string, KnownAlbum> m_albums;
    // The preview's picture, wanted whatever is in sight.
    std::string m_largeKey;
    uint64_t m_lastTicket = 0;
};

}  // namespace vistello
