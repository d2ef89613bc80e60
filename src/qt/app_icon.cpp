#include "qt/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vistello {

namespace {

void DrawSlide(QPainter& painter, qreal size) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2b, 0x5c, 0x9e));
    painter.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(size * 0.14, size * 0.2, size * 0.72, size * 0.6));
}

void DrawPicture(QPainter& painter, qreal size) {
    const QRectF picture(size * 0.2, size * 0.26, size * 0.6, size * 0.48);
    painter.setBrush(QColor(0x9f, 0xd3, 0xf5));
    painter.drawRect(picture);
    painter.setBrush(QColor(0xf5, 0xc2, 0x2b));
    painter.drawEllipse(QPointF(size * 0.66, size * 0.38), size * 0.07, size * 0.07);
    QPainterPath hill;
    hill.moveTo(picture.bottomLeft());
    hill.lineTo(size * 0.38, size * 0.46);
    hill.lineTo(size * 0.54, size * 0.62);
    hill.lineTo(size * 0.64, size * 0.54);
    hill.lineTo(picture.bottomRight());
    hill.closeSubpath();
    painter.setBrush(QColor(0x3f, 0x9a, 0x4a));
    painter.drawPath(hill);
}

QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawSlide(painter, size);
    DrawPicture(painter, size);
    return pixmap;
}

}  // namespace

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(DrawIcon(size));
    return icon;
}

}  // namespace vistello
