#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/dialog_template.h"
#include "framework/message_box.h"

namespace vistello {

class CDataExchange;
class WindowHost;
class WindowSystem;

enum class NotifyCode {
    Click,
    ColumnClick,
    RowDragged,
    DoubleClick,
    // The user changed which rows are selected, by mouse or keys.
    SelectionChanged,
    // The user dragged the selected rows to another place.
    RowsDragged,
    KeyPressed
};

// The keys a view of the rows hands to its dialog rather than acting on them itself.
enum class ItemKey { None, Delete, Enter, CtrlUp, CtrlDown, CtrlLeft, CtrlRight };

struct Notification {
    NotifyCode code = NotifyCode::Click;
    int subItem = -1;
    // RowDragged: the row the user dragged, and the place it was dropped, counted as the row
    // would stand there. DoubleClick: the row double-clicked.
    int item = -1;
    // RowDragged: as above. RowsDragged: the row the selected rows were dropped before, counted
    // as the rows stand while they are dragged; the row count for the end.
    int target = -1;
    ItemKey key = ItemKey::None;
};

// A modal dialog: a template, a command table, and data exchange between its controls and its
// members.
class CDialog {
public:
    explicit CDialog(const DialogTemplate& dialogTemplate);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    int DoModal(WindowSystem& system, WindowHost* owner = nullptr);
    const DialogTemplate& Template() const { return m_template; }

    // Called by the window system around the dialog's window.
    void Attach(WindowHost* host, WindowSystem* system);
    void Detach();
    virtual bool OnInitDialog();
    virtual void OnDestroy() {}

    // Routed by the window system; no exception leaves these. One handler runs at a time: while
    // one runs (a long one keeps the window painted through its progress box), further commands
    // and notifications are ignored, and files dropped are taken once it has finished, so that
    // nothing changes what the running handler works on.
    void OnCommand(int id);
    int OnNotify(int id, const Notification& notification);
    // Files and folders dropped on the window, as full paths, in the order the desktop gave them;
    // `at` is the row they were dropped before, or -1 where the drop names no place.
    void DropFiles(const std::vector<std::string>& paths, int at = -1);
    // The program is asked to end (a logout, a shutdown): the dialog closes as OnEndSession says,
    // unless a handler is running; the window system asks again once it has returned.
    void EndSession();

    // TRUE: controls into members; FALSE: members into controls. False when a field fails.
    bool UpdateData(bool saveAndValidate = true);

    // The window's own box: fixed text and caption, an OK button, no icon.
    void MessageBox(const std::string& text, const std::string& caption);
    // The application's box: the application title as caption and the exclamation icon.
    MsgAnswer AfxMessageBox(const std::string& text, MsgButtons buttons = MsgButtons::Ok);

protected:
    virtual void DoDataExchange(CDataExchange& dx);
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnDropFiles(const std::vector<std::string>&, int /*at*/) {}
    // After every command, notification and drop the window handled, whatever it changed.
    virtual void OnHandled() {}
    // As Cancel, unless the dialog has more to keep.
    virtual void OnEndSession() { OnCancel(); }
    void EndDialog(int result);

    void MapCommand(int id, std::function<void()> handler);
    void MapNotify(int id, NotifyCode code, std::function<int(const Notification&)> handler);

    WindowHost& Host() const { return *m_host; }
    WindowSystem& System() const { return *m_system; }
    bool HasWindow() const { return m_host != nullptr; }

private:
    // Runs one handler, unless another is running; then the drops held meanwhile.
    void Handle(const std::function<void()>& action);
    void Guarded(const std::function<void()>& action);

    const DialogTemplate& m_template;
    WindowHost* m_host = nullptr;
    WindowSystem* m_system = nullptr;
    std::unordered_map<int, std::function<void()>> m_commands;
    std::unordered_map<long long, std::function<int(const Notification&)>> m_notifications;
    bool m_handling = false;
    struct HeldDrop {
        std::vector<std::string> paths;
        int at = -1;
    };
    std::vector<HeldDrop> m_heldDrops;
};

}  // namespace vistello
