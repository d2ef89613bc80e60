#pragma once

#include <optional>
#include <string>

#include "framework/file_picker.h"
#include "framework/message_box.h"

namespace vistello {

class ListView;

// One open dialog's window: its controls by id, its boxes, its end.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    virtual std::string GetText(int id) const = 0;
    virtual void SetText(int id, const std::string& text) = 0;
    virtual bool GetCheck(int id) const = 0;
    virtual void SetCheck(int id, bool checked) = 0;
    virtual ListView* List(int id) = 0;

    virtual void SetCaption(const std::string& caption) = 0;
    virtual MsgAnswer MessageBox(const std::string& text, const std::string& caption,
                                 MsgButtons buttons, MsgIcon icon) = 0;
    virtual void EndDialog(int result) = 0;

    // The chosen full path, or nothing when the user cancels. An existing file is chosen only
    // after the user agreed to replace it.
    virtual std::optional<std::string> PickSaveFile(const FilePickerOptions& options) = 0;
    virtual std::optional<std::string> PickOpenFile(const FilePickerOptions& options) = 0;
    // A folder's full path, or nothing when the user cancels.
    virtual std::optional<std::string> PickFolder(const std::string& title,
                                                  const std::string& folder) = 0;
};

}  // namespace vistello
