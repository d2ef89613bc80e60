#include "qt/dialog_units.h"

#include <QFontMetrics>

namespace vistello {

namespace {

// The average over both alphabets, rounded, as dialog managers measure a dialog font.
int AverageCharWidth(const QFontMetrics& metrics) {
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
}

// Multiplies and divides with rounding to the nearest pixel.
int Scale(int units, int base, int divisor) { return (units * base + divisor / 2) / divisor; }

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
    : m_charWidth(AverageCharWidth(QFontMetrics(font))),
      m_lineHeight(QFontMetrics(font).height()) {}

int DialogUnits::X(int units) const { return Scale(units, m_charWidth, 4); }

int DialogUnits::Y(int units) const { return Scale(units, m_lineHeight, 8); }

QRect DialogUnits::ToPixels(const DluRect& rect) const {
    const int left = X(rect.x);
    const int top = Y(rect.y);
    return {left, top, X(rect.x + rect.w) - left, Y(rect.y + rect.h) - top};
}

QSize DialogUnits::ToPixels(int width, int height) const { return {X(width), Y(height)}; }

}  // namespace vistello
