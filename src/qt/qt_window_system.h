#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include "framework/window_system.h"
#include "qt/focus_return.h"
#include "qt/tool_tip_gate.h"

namespace vistello {

class QtWindow;

// Runs dialogs as real Qt windows and hands documents to the desktop. The program opens no
// connection of its own, so the desktop always grants its sockets. Progress shows once a run has
// taken `progressDelay`.
class QtWindowSystem final : public WindowSystem {
public:
    explicit QtWindowSystem(
        std::chrono::milliseconds progressDelay = std::chrono::milliseconds(500))
        : m_progressDelay(progressDelay) {}

    int RunModal(CDialog& dialog, WindowHost* owner) override;
    void OpenDocument(const std::string& target) override;
    std::string AppTitle() const override;
    MsgAnswer OwnerlessMessageBox(const std::string& text, const std::string& caption,
                                  MsgButtons buttons, MsgIcon icon) override;
    void EnableToolTips(bool on) override { m_toolTips.SetEnabled(on); }
    std::unique_ptr<PicturesWindow> OpenPicturesWindow(CDialog& dialog, WindowHost* owner,
                                                       const PicturesWindowSetup& setup) override;
    bool StartSockets() override { return true; }
    std::string ManualPath() const override;
    std::unique_ptr<Progress> StartProgress(int total, const std::string& unit,
                                            WindowHost* owner) override;

    // The last window opened of those still open, until its dialog's OnDestroy has run; or none.
    QtWindow* Innermost() const { return m_open.empty() ? nullptr : m_open.back(); }

private:
    std::chrono::milliseconds m_progressDelay;
    ToolTipGate m_toolTips;
    FocusReturn m_focusReturn;
    std::vector<QtWindow*> m_open;
};

}  // namespace vistello
