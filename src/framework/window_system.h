#pragma once

#include <memory>
#include <string>

#include "framework/message_box.h"
#include "framework/pictures_window.h"
#include "framework/progress.h"

namespace vistello {

class CDialog;
class WindowHost;

// The application-wide service that creates dialog windows and runs them.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Creates the dialog's window, runs OnInitDialog, loops until EndDialog, runs OnDestroy while
    // the controls still hold their values, and returns the end result.
    virtual int RunModal(CDialog& dialog, WindowHost* owner) = 0;

    // Hands a file path or URL to the desktop's default program; the outcome is not reported.
    virtual void OpenDocument(const std::string& target) = 0;

    // Caption of the application's own message boxes.
    virtual std::string AppTitle() const = 0;

    // A box with no window to belong to, for failures before the main window exists.
    virtual MsgAnswer OwnerlessMessageBox(const std::string& text, const std::string& caption,
                                          MsgButtons buttons, MsgIcon icon) = 0;

    // Where the manual that ships with the program lies, as an absolute path.
    virtual std::string ManualPath() const = 0;

    // Shows the progress of a long command over `owner`, counting up to `total` of what `unit`
    // names ("Page", "Photo"), while the owner takes no input. A command that ends quickly may
    // finish before anything is shown.
    virtual std::unique_ptr<Progress> StartProgress(int total, const std::string& unit,
                                                    WindowHost* owner) = 0;

    // Opens a Pictures window beside `owner`, the window of `dialog`, to which it routes what the
    // user does in it. It closes when the object is destroyed.
    virtual std::unique_ptr<PicturesWindow> OpenPicturesWindow(
        CDialog& dialog, WindowHost* owner, const PicturesWindowSetup& setup) = 0;

    // Shows or hides the tips of every window, open now or later.
    virtual void EnableToolTips(bool on) = 0;

    // Starts the network layer the program asks for at start-up; false when it cannot.
    virtual bool StartSockets() = 0;
};

}  // namespace vistello
