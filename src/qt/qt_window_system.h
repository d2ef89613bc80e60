#pragma once

#include "platform/window_system.h"

namespace vistello {

// Runs dialogs as real Qt windows and hands documents to the desktop. The program opens no
// connection of its own, so the desktop always grants its sockets.
class QtWindowSystem final : public WindowSystem {
public:
    int RunModal(CDialog& dialog, WindowHost* owner) override;
    void OpenDocument(const std::string& target) override;
    std::string AppTitle() const override;
    MsgAnswer OwnerlessMessageBox(const std::string& text, const std::string& caption,
                                  MsgButtons buttons, MsgIcon icon) override;
    bool StartSockets() override { return true; }
    std::string ManualPath() const override;
};

}  // namespace vistello
