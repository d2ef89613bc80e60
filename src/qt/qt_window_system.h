#pragma once

#include "platform/window_system.h"

namespace vistello {

// Runs dialogs as real Qt windows and hands documents to the desktop.
class QtWindowSystem final : public WindowSystem {
public:
    int RunModal(CDialog& dialog, WindowHost* owner) override;
    void OpenDocument(const std::string& target) override;
    std::string AppTitle() const override;
};

}  // namespace vistello
