#include "ui/pictures_pane.h"

#include "framework/window_system.h"
#include "text/shown_text.h"

namespace vistello {

namespace {

RealFileOps& SystemFiles() {
    static RealFileOps files;
    return files;
}

NoThumbnails& NoPictures() {
    static NoThumbnails thumbnails;
    return thumbnails;
}

}  // namespace

PicturesPane::PicturesPane(const EntryList& slides, EntryListView& shown)
    : m_slides(slides), m_shown(shown), m_tiles(slides, SystemFiles(), NoPictures()) {}

PicturesPane::~PicturesPane() { Shut(); }

void PicturesPane::Open(WindowSystem& system, CDialog& dialog, WindowHost* owner,
                        const PicturesRoutes& routes) {
    if (m_window) return;
    m_window = system.OpenPicturesWindow(dialog, owner,
                                         {*this, m_settings.place, m_settings.tileSize, routes});
    m_settings.used = true;
    m_settings.open = true;
    m_shown.AttachGrid(m_window->Grid());
    m_tiles.WakeWith([window = m_window.get()] { window->Wake(); });
    m_preview = {};
    ShowPreview();
}

void PicturesPane::Close() {
    Shut();
    m_settings.open = false;
}

void PicturesPane::CloseForQuit() { Shut(); }

PicturesSettings PicturesPane::Settings() const {
    PicturesSettings settings = m_settings;
    if (m_window) {
        settings.place = m_window->Place();
        settings.tileSize = m_window->TileSize();
    }
    return settings;
}

void PicturesPane::Follow() {
    if (!m_window) return;
    m_shown.GridFollowsList();
    ShowPreview();
}

bool PicturesPane::TakeArrived() {
    if (!m_tiles.TakeArrived()) return false;
    if (m_window) {
        m_window->TilesChanged();
        ShowPreview();
    }
    return true;
}

// The window's place and size are kept as it goes; what it asked for is no longer wanted.
void PicturesPane::Shut() {
    if (!m_window) return;
    m_settings = Settings();
    m_tiles.WakeWith(nullptr);
    m_tiles.CancelAll();
    m_shown.AttachGrid(nullptr);
    m_window.reset();
}

// Told only when it shows something else, so that a command that changes nothing of the slide
// costs no drawing.
void PicturesPane::ShowPreview() {
    const int row = m_shown.SelectionMark();
    PreviewLook preview;
    if (m_slides.HasRow(row)) {
        const ImageEntry& entry = m_slides.Row(row);
        preview = {true, m_tiles.Large(row), ShownText(entry.title), ShownText(entry.description)};
    }
    if (preview == m_preview) return;
    m_preview = preview;
    m_window->ShowPreview(m_preview);
}

}  // namespace vistello
