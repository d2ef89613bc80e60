#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/window_host.h"
#include "framework/window_system.h"
#include "support/fake_list_view.h"

namespace vistello::testing {

struct ShownBox {
    std::string text;
    std::string caption;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;

    bool operator==(const ShownBox&) const = default;
    friend void PrintTo(const ShownBox& box, std::ostream* out) {
        *out << '"' << box.text << "\" in \"" << box.caption << '"';
    }
};

class FakeWindowSystem;

// One open dialog in memory, driven the way a user drives it: controls are strings, and every
// box shown is recorded on the system.
class FakeWindow : public WindowHost {
public:
    FakeWindow(FakeWindowSystem& system, CDialog& dialog);
    ~FakeWindow() override { Destroy(); }
    FakeWindow(const FakeWindow&) = delete;
    FakeWindow& operator=(const FakeWindow&) = delete;

    std::string GetText(int id) const override;
    void SetText(int id, const std::string& text) override { m_texts[id] = text; }
    bool GetCheck(int id) const override { return m_checks.contains(id) && m_checks.at(id); }
    void SetCheck(int id, bool checked) override { m_checks[id] = checked; }
    FakeListView* List(int id) override { return &m_lists[id]; }
    void SetCaption(const std::string& caption) override { m_caption = caption; }
    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon) override;
    void EndDialog(int result) override { m_result = result; }
    std::optional<std::string> PickSaveFile(const FilePickerOptions&) override { return Pick(); }
    std::optional<std::string> PickOpenFile(const FilePickerOptions&) override { return Pick(); }
    std::optional<std::string> PickFolder(const std::string&, const std::string&) override {
        return Pick();
    }

    void Type(int id, const std::string& text) { SetText(id, text); }
    std::string Text(int id) const { return GetText(id); }
    void Press(int id) { m_dialog.OnCommand(id); }
    // A click on the list's rows area; row -1 is empty space below the rows.
    void ClickRow(int listId, int row);
    void ClickHeader(int listId, int column);
    // Ends the window as the window system does: OnDestroy while the controls still exist.
    void Destroy();

    const std::string& Caption() const { return m_caption; }
    // The result the dialog ended with, if it did.
    std::optional<int> Result() const { return m_result; }

private:
    std::optional<std::string> Pick();

    FakeWindowSystem& m_system;
    CDialog& m_dialog;
    std::map<int, std::string> m_texts;
    std::map<int, bool> m_checks;
    std::map<int, FakeListView> m_lists;
    std::string m_caption;
    std::optional<int> m_result;
    bool m_destroyed = false;
};

// Scripted answers for boxes, pickers and nested dialogs; records what the program showed.
class FakeWindowSystem : public WindowSystem {
public:
    using DialogScript = std::function<void(FakeWindow&)>;

    int RunModal(CDialog& dialog, WindowHost* owner) override;
    void OpenDocument(const std::string& target) override { opened.push_back(target); }
    std::string AppTitle() const override { return "vistello"; }
    MsgAnswer OwnerlessMessageBox(const std::string& text, const std::string& caption,
                                  MsgButtons buttons, MsgIcon icon) override;
    bool StartSockets() override { return socketsStart; }
    void EnableToolTips(bool on) override { toolTips = on; }
    std::string ManualPath() const override { return "/usr/share/doc/vistello/manual.html"; }
    std::unique_ptr<Progress> StartProgress(int total, const std::string& unit,
                                            WindowHost* owner) override;

    // Answers given in turn; with none left, OK boxes answer Ok and questions answer No.
    std::deque<MsgAnswer> answers;
    // Each nested dialog runs the next script; with none left it is closed with Escape.
    std::deque<DialogScript> dialogScripts;
    // Paths chosen in pickers in turn; nothing means Cancel, as does an empty queue. A picker
    // moves the current directory away, as a real one may.
    std::deque<std::optional<std::string>> pickerAnswers;

    bool socketsStart = true;
    // Cancel is pressed on the first progress shown.
    bool cancelProgress = false;
    bool toolTips = false;
    std::vector<ShownBox> boxes;
    std::vector<std::string> opened;
};

}  // namespace vistello::testing
