#pragma once

#include <QObject>

namespace vistello {

// Gives the keyboard back to the window under a dialog when the dialog closes. A window manager
// would; on an X server without one the keyboard would stay with the screen's root and do
// nothing until the pointer passes over a window.
class FocusReturn final : public QObject {
public:
    FocusReturn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vistello
