#pragma once

#include <QStyledItemDelegate>

#include "framework/pictures_window.h"

namespace vistello {

class TilePictures;

// Draws a tile: its thumbnail in a square of the tile size, a pile behind an album's, a play sign
// over a clip's, a lock on a private album's, a sign where the picture cannot be shown, a frame
// while it is being made, and the title below, cut to the tile's width.
class TileDelegate final : public QStyledItemDelegate {
public:
    TileDelegate(TilePictures& pictures, QObject* parent);

    void SetSide(int side) { m_side = side; }
    int Side() const { return m_side; }
    // The cell a tile takes in the grid, title and margins included.
    QSize Cell(const QFontMetrics& metrics) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void PaintPicture(QPainter& painter, const QRect& square, const TileLook& look) const;

    TilePictures& m_pictures;
    int m_side = 128;
};

}  // namespace vistello
