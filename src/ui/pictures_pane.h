#pragma once

#include <memory>

#include "framework/pictures_window.h"
#include "ui/entry_list_view.h"
#include "ui/picture_tiles.h"
#include "ui/pictures_settings.h"

namespace vistello {

class CDialog;
class WindowHost;
class WindowSystem;

// The Pictures window as the main window keeps it: open or closed, where it stood and how large
// its tiles were, its grid bound to the slides beside the list, and its preview showing the slide
// the list marks.
class PicturesPane : public TileSource {
public:
    PicturesPane(const EntryList& slides, EntryListView& shown);
    ~PicturesPane() override;
    PicturesPane(const PicturesPane&) = delete;
    PicturesPane& operator=(const PicturesPane&) = delete;

    void UseFileOps(FileOps& files) { m_tiles.UseFileOps(files); }
    void UseThumbnails(ThumbnailService& thumbnails) { m_tiles.UseThumbnails(thumbnails); }

    bool IsOpen() const { return m_window != nullptr; }
    // Where it was left, or beside the owner the first time; its grid selects what the list does.
    // What the user does in it reaches the dialog under the ids `routes` names.
    void Open(WindowSystem& system, CDialog& dialog, WindowHost* owner,
              const PicturesRoutes& routes);
    void Close();
    // As Close, but it stays open in the settings, so that the next start opens it again.
    void CloseForQuit();

    // Where it stands now while it is open.
    PicturesSettings Settings() const;
    void UseSettings(const PicturesSettings& settings) { m_settings = settings; }

    // After whatever the main window did: the grid selects what the list selects, and the preview
    // shows the slide the list marks as it is now.
    void Follow();

    TileLook Tile(int row) const override { return m_tiles.Tile(row); }
    bool Showing(int first, int last) override { return m_tiles.Showing(first, last); }

    bool TakeArrived() override;

private:
    void Shut();
    void ShowPreview();

    const EntryList& m_slides;
    EntryListView& m_shown;
    PictureTiles m_tiles;
    PicturesSettings m_settings;
    std::unique_ptr<PicturesWindow> m_window;
    PreviewLook m_preview;
};

}  // namespace vistello
