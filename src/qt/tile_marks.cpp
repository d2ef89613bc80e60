#include "qt/tile_marks.h"

#include <QPainterPath>
#include <algorithm>

namespace vistello {

// Two sheets behind the cover, offset up and to the right, as a stack of prints.
void PaintPile(QPainter& painter, const QRect& square, const QPalette& palette) {
    const int step = square.width() / 20 + 1;
    const QRect front = square.adjusted(0, square.height() / 10, -square.width() / 10, 0);
    painter.setPen(palette.color(QPalette::Dark));
    for (int sheet = 2; sheet >= 0; --sheet) {
        painter.setBrush(palette.color(sheet == 0 ? QPalette::Base : QPalette::Button));
        painter.drawRect(front.translated(sheet * step, -sheet * step).adjusted(0, 0, -1, -1));
    }
}

void PaintPlaySign(QPainter& painter, const QRect& square) {
    const int radius = std::max(std::min(square.width(), square.height()) / 6, 8);
    const QPointF centre = QRectF(square).center();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(QColor(0, 0, 0, 150));
    painter.drawEllipse(centre, radius, radius);
    QPainterPath triangle;
    triangle.moveTo(centre + QPointF(-radius * 0.35, -radius * 0.5));
    triangle.lineTo(centre + QPointF(radius * 0.55, 0));
    triangle.lineTo(centre + QPointF(-radius * 0.35, radius * 0.5));
    triangle.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(triangle);
    painter.restore();
}

// A padlock in the lower right corner.
void PaintLock(QPainter& painter, const QRect& square) {
    const int size = std::max(square.width() / 5, 12);
    const QRectF body(square.right() - size - 4, square.bottom() - size * 0.7 - 4, size,
                      size * 0.7);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, std::max(size / 8, 2)));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(body.x() + size * 0.2, body.y() - size * 0.45, size * 0.6, size * 0.8),
                    0, 180 * 16);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(250, 200, 40));
    painter.drawRoundedRect(body, 2, 2);
    painter.restore();
}

// A frame crossed out, with an exclamation mark: the picture exists as a slide but cannot be
// shown; the reason is on hover.
void PaintCannotShow(QPainter& painter, const QRect& square, const QPalette& palette) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette.color(QPalette::Mid), 2));
    painter.setBrush(palette.color(QPalette::AlternateBase));
    const QRect frame = square.adjusted(2, 2, -2, -2);
    painter.drawRect(frame);
    painter.drawLine(frame.topLeft(), frame.bottomRight());
    const int radius = std::max(frame.width() / 7, 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 40, 40));
    painter.drawEllipse(QRectF(frame).center(), radius, radius);
    painter.setPen(QPen(Qt::white, std::max(radius / 4, 2)));
    const QPointF centre = QRectF(frame).center();
    painter.drawLine(centre + QPointF(0, -radius * 0.55), centre + QPointF(0, radius * 0.15));
    painter.drawPoint(centre + QPointF(0, radius * 0.5));
    painter.restore();
}

}  // namespace vistello
