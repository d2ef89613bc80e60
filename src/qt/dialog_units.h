#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "framework/dialog_template.h"

namespace vistello {

// Dialog units scale with the dialog font: a horizontal unit is a quarter of the average
// character width, a vertical unit an eighth of the line height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    // Each edge converts on its own, so neighbouring controls meet without gaps or overlaps.
    QRect ToPixels(const DluRect& rect) const;
    QSize ToPixels(int width, int height) const;

private:
    int m_charWidth;
    int m_lineHeight;
};

}  // namespace vistello
