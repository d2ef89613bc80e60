#pragma once

#include <QWidget>
#include <string>

#include "framework/message_box.h"

namespace vistello {

// A modal message box over parent; returns the button pressed. Escape answers No to a question.
MsgAnswer ShowMessageBox(QWidget* parent, const std::string& text, const std::string& caption,
                         MsgButtons buttons, MsgIcon icon);

}  // namespace vistello
