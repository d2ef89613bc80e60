#pragma once

#include <QPainter>
#include <QPalette>
#include <QRect>

namespace vistello {

// The marks a tile or the preview draws in or over a picture's square.
void PaintPile(QPainter& painter, const QRect& square, const QPalette& palette);
void PaintPlaySign(QPainter& painter, const QRect& square);
void PaintLock(QPainter& painter, const QRect& square);
void PaintCannotShow(QPainter& painter, const QRect& square, const QPalette& palette);

}  // namespace vistello
