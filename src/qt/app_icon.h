#pragma once

#include <QIcon>

namespace vistello {

// The program's icon, drawn at start-up: a framed picture on a slide.
QIcon AppIcon();

}  // namespace vistello
