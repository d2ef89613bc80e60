#include "qt/tile_delegate.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

#include "qt/qstring_bytes.h"
#include "qt/qt_tile_model.h"
#include "qt/tile_marks.h"
#include "qt/tile_pictures.h"

namespace vistello {

namespace {

constexpr int kMargin = 6;

const QtTileModel* ModelOf(const QModelIndex& index) {
    return dynamic_cast<const QtTileModel*>(index.model());
}

// Where the picture stands in its square: as large as fits, upright as read, on the square's
// floor, so that every title sits right under its picture.
QRect Fitted(const QSize& size, const QRect& square) {
    const QSize fitted = size.scaled(square.size(), Qt::KeepAspectRatio);
    return {square.x() + (square.width() - fitted.width()) / 2,
            square.bottom() + 1 - fitted.height(), fitted.width(), fitted.height()};
}

}  // namespace

TileDelegate::TileDelegate(TilePictures& pictures, QObject* parent)
    : QStyledItemDelegate(parent), m_pictures(pictures) {}

QSize TileDelegate::Cell(const QFontMetrics& metrics) const {
    return {m_side + 2 * kMargin, m_side + 2 * kMargin + metrics.height() + kMargin / 2};
}

QSize TileDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return Cell(option.fontMetrics);
}

void TileDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const QtTileModel* model = ModelOf(index);
    if (model == nullptr) return;
    painter->save();
    const QRect cell = option.rect.adjusted(2, 2, -2, -2);
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    if (selected) {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(option.palette.color(QPalette::Highlight));
        painter->drawRoundedRect(cell, 4, 4);
    }
    const QRect square(cell.x() + (cell.width() - m_side) / 2, cell.y() + kMargin - 2, m_side,
                       m_side);
    PaintPicture(*painter, square, model->Look(index.row()));
    const QRect titleBox(cell.x() + 2, square.bottom() + kMargin / 2, cell.width() - 4,
                         option.fontMetrics.height());
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QString title =
        option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, titleBox.width());
    painter->drawText(titleBox, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, title);
    if ((option.state & QStyle::State_HasFocus) != 0) {
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(option.palette.color(QPalette::Text), 1, Qt::DotLine));
        painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

void TileDelegate::PaintPicture(QPainter& painter, const QRect& square,
                                const TileLook& look) const {
    const QPalette palette = QApplication::palette();
    const bool album = look.badge == TileBadge::Album || look.badge == TileBadge::PrivateAlbum;
    const QRect inner =
        album ? square.adjusted(0, square.height() / 10, -square.width() / 10, 0) : square;
    if (album) PaintPile(painter, square, palette);
    const QImage image =
        look.picture.empty() ? QImage() : m_pictures.Picture(ToQString(look.picture), m_side);
    if (!image.isNull()) {
        painter.drawImage(Fitted(image.size(), inner), image);
    } else if (!look.failure.empty() && look.badge != TileBadge::Clip) {
        PaintCannotShow(painter, inner, palette);
    } else if (!album) {
        painter.setPen(palette.color(QPalette::Mid));
        painter.setBrush(palette.color(QPalette::AlternateBase));
        painter.drawRect(inner.adjusted(0, 0, -1, -1));
    }
    if (look.badge == TileBadge::Clip) PaintPlaySign(painter, inner);
    if (look.badge == TileBadge::PrivateAlbum) PaintLock(painter, inner);
}

}  // namespace vistello
