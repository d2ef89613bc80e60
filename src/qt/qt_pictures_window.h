#pragma once

#include <QPointer>
#include <QWidget>
#include <optional>

#include "framework/dialog.h"
#include "framework/pictures_window.h"

class QSlider;

namespace vistello {

class PicturePreview;
class QtPictureGrid;
class TilePictures;

// The Pictures window: a window of its own beside the main window, over which the main window's
// boxes are modal too. The grid fills it, the size slider below it, the preview at its side; Tab
// goes from the grid to the slider to the preview. What the user does is routed to the dialog.
class QtPicturesWindow final : public PicturesWindow {
public:
    QtPicturesWindow(CDialog& dialog, QWidget* owner, const PicturesWindowSetup& setup);
    ~QtPicturesWindow() override;

    ListView* Grid() override;
    void ShowPreview(const PreviewLook& preview) override;
    void TilesChanged() override;
    int TileSize() const override;
    WindowPlace Place() const override;
    void Wake() override;

    QWidget& Widget() const;
    QtPictureGrid* GridView() const { return m_grid; }
    QSlider* Slider() const { return m_slider; }
    PicturePreview* Preview() const { return m_preview; }

private:
    class Frame;

    void Build(QWidget* owner);
    void Route();
    void Zoom(int steps);
    void PlaceBeside(QWidget* owner, const std::optional<WindowPlace>& place);

    CDialog& m_dialog;
    PicturesWindowSetup m_setup;
    // Its owner takes it down with it, should the owner go first.
    QPointer<Frame> m_window;
    TilePictures* m_pictures = nullptr;
    QtPictureGrid* m_grid = nullptr;
    QSlider* m_slider = nullptr;
    PicturePreview* m_preview = nullptr;
};

}  // namespace vistello
