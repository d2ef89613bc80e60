#pragma once

#include <QWidget>

#include "framework/dialog_template.h"

namespace vistello {

// The widget for one template control, placed on parent at the given pixel rectangle. Routing
// its clicks to the dialog is the caller's part.
QWidget* CreateControl(const ControlTemplate& control, const QRect& place, QWidget* parent);

}  // namespace vistello
