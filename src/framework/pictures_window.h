#pragma once

#include <optional>
#include <string>

namespace vistello {

class ListView;

// The sizes a tile's picture may take, in pixels, and the one it starts at.
inline constexpr int kSmallestTile = 64;
inline constexpr int kLargestTile = 256;
inline constexpr int kFirstTileSize = 128;

// Where a window stands on the desktop and how large it is, in pixels.
struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowPlace&) const = default;
};

// What a tile shows of its slide's kind, over or around the picture.
enum class TileBadge { None, Clip, Album, PrivateAlbum };

// One picture as a tile or the preview shows it.
struct TileLook {
    // A PNG file to draw; empty while it is being made, and when it cannot be.
    std::string picture;
    // Why the slide's picture cannot be shown, as plain text: drawn as a sign, told on hover.
    std::string failure;
    TileBadge badge = TileBadge::None;

    bool operator==(const TileLook&) const = default;
};

// The slide selected last, as the preview shows it; all empty when none is.
struct PreviewLook {
    bool selected = false;
    TileLook look;

    // As the slide's page shows them: plain text, never markup.
    std::string title;
    std::string description;

    bool operator==(const PreviewLook&) const = default;
};

// Where a Pictures window's tiles come from. Called on the window's own thread.
class TileSource {
public:
    virtual ~TileSource() = default;
    virtual TileLook Tile(int row) const = 0;
    // The rows first to last are in sight now: their pictures are made before any other's. True
    // when pictures out of sight are still to be asked for: the window tells it again once it
    // has drawn.
    virtual bool Showing(int first, int last) = 0;

    // After the window was woken: pictures made since are taken in. False when none of them is
    // one the window shows.
    virtual bool TakeArrived() = 0;
};

// The Pictures window, real or in memory: a grid of the slides in the list's order, a size for
// its tiles and a preview of the slide selected last. What the user does in it reaches its dialog
// as the notifications and keys of the grid's control id, and as drops with a place.
class PicturesWindow {
public:
    virtual ~PicturesWindow() = default;

    // The grid, a view of the same rows as the list.
    virtual ListView* Grid() = 0;
    virtual void ShowPreview(const PreviewLook& preview) = 0;
    // Pictures arrived for tiles in sight: they are drawn again.
    virtual void TilesChanged() = 0;
    // The longer edge of a tile's picture, in pixels, as the user last set it.
    virtual int TileSize() const = 0;
    virtual WindowPlace Place() const = 0;
    // Safe from any thread while the window lives: the window soon calls its source's
    // TakeArrived on its own thread.
    virtual void Wake() = 0;
};

// The ids under which a Pictures window hands its dialog what the user does in it.
struct PicturesRoutes {
    // The grid's notifications and keys.
    int grid = 0;
    // The command that opens and closes it: its close box, Escape and the menu's key run it too.
    int toggle = 0;
    // The command that plays the marked clip.
    int play = 0;
};

// How a Pictures window is opened.
struct PicturesWindowSetup {
    TileSource& tiles;
    // Where it was left; beside its owner when none is given or the place is on no screen now.
    std::optional<WindowPlace> place;
    int tileSize = 0;
    PicturesRoutes routes;
};

}  // namespace vistello
