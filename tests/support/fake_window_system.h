#pragma once

#include <algorithm>
#include <atomic>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "framework/dialog.h"
#include "framework/list_view.h"
#include "framework/pictures_window.h"
#include "framework/window_host.h"
#include "framework/window_system.h"

namespace vistello::testing {

// A list view that measures widths in characters and lets a test place the selection as a click
// would. The selection follows its rows as rows come and go, as the real control keeps it.
class FakeListView : public ListView {
public:
    ~FakeListView() override {
        if (m_source != nullptr) m_source->ViewClosed(this);
    }

    void InsertColumn(int index, const std::string& header) override {
        m_headers.insert(m_headers.begin() + index, header);
        m_widths.insert(m_widths.begin() + index, 0);
    }
    int ColumnCount() const override { return static_cast<int>(m_headers.size()); }
    void SetSource(TableSource* source) override {
        m_source = source;
        m_rows = source != nullptr ? source->RowCount() : 0;
        SetSelection({}, -1);
    }

    void BeginInsertRows(int first, int) override { Begin(first); }
    void EndInsertRows() override { End(); }
    void BeginRemoveRows(int first, int) override { Begin(first); }
    void EndRemoveRows() override { End(); }
    void BeginMoveRow(int from, int to) override {
        Remap([from, to](int row) {
            if (row == from) return to;
            if (row >= std::min(from, to) && row <= std::max(from, to))
                return row + (from < to ? -1 : 1);
            return row;
        });
    }
    void EndMoveRow() override {}
    void BeginResetRows() override {}
    void EndResetRows() override {
        m_rows = m_source->RowCount();
        SetSelection({}, -1);
    }
    void RowsChanged(int, int) override {}

    int SelectionMark() const override { return m_mark; }
    void SetSelectionMark(int row) override {
        SetSelection(row >= 0 ? std::vector<int>{row} : std::vector<int>{}, row);
    }
    std::vector<int> SelectedRows() const override { return m_selected; }
    void SetSelection(const std::vector<int>& rows, int mark) override {
        m_selected = rows;
        m_mark = mark;
    }

    int FitColumn(int column, FitMode mode) override {
        int width = static_cast<int>(m_headers.at(column).size());
        if (mode == FitMode::Content) {
            width = 0;
            for (const int row : m_source->LongestCells(column, 1))
                width = static_cast<int>(m_source->Cell(row, column).size());
        }
        return m_widths.at(column) = width;
    }
    void SetColumnWidth(int column, int width) override { m_widths.at(column) = width; }
    int ColumnWidth(int column) const override { return m_widths.at(column); }
    void SetRedraw(bool) override {}

    // The rows as the view was told of them.
    int RowCount() const { return m_rows; }
    std::string Cell(int row, int column) const { return m_source->Cell(row, column); }
    // The first column of every row, each followed by ";".
    std::string Rows() const {
        std::string rows;
        for (int row = 0; row < RowCount(); ++row) rows += Cell(row, 0) + ";";
        return rows;
    }

private:
    void Begin(int first) {
        m_first = first;
        m_rowsBefore = m_source->RowCount();
    }
    // Rows that came shift down; rows that went take their selection with them.
    void End() {
        const int added = m_source->RowCount() - m_rowsBefore;
        m_rows += added;
        Remap([this, added](int row) {
            if (added < 0 && row >= m_first && row < m_first - added) return -1;
            return row >= m_first ? row + added : row;
        });
    }
    template <typename Map>
    void Remap(Map map) {
        std::vector<int> selected;
        for (const int row : m_selected)
            if (const int now = map(row); now >= 0) selected.push_back(now);
        std::sort(selected.begin(), selected.end());
        m_selected = std::move(selected);
        if (m_mark >= 0) m_mark = map(m_mark);
    }

    TableSource* m_source = nullptr;
    std::vector<std::string> m_headers;
    std::vector<int> m_widths;
    int m_mark = -1;
    std::vector<int> m_selected;
    int m_first = 0;
    int m_rowsBefore = 0;
    int m_rows = 0;
};

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

// The next scripted answer, if any is left.
template <typename T>
std::optional<T> Next(std::deque<T>& queue) {
    if (queue.empty()) return std::nullopt;
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}

class FakeWindowSystem;

// One open dialog in memory, driven the way a user drives it: controls are strings, and every
// box shown is recorded on the system.
class FakeWindow : public WindowHost {
public:
    FakeWindow(FakeWindowSystem& system, CDialog& dialog);
    ~FakeWindow() override { Destroy(); }

    std::string GetText(int id) const override { return m_texts[id]; }
    void SetText(int id, const std::string& text) override { m_texts[id] = text; }
    bool GetCheck(int id) const override { return m_checks.contains(id) && m_checks.at(id); }
    void SetCheck(int id, bool checked) override { m_checks[id] = checked; }
    FakeListView* List(int id) override { return &m_lists[id]; }
    void SetCaption(const std::string& text) override { caption = text; }
    MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon) override;
    void EndDialog(int ended) override { result = ended; }
    std::optional<std::string> PickSaveFile(const FilePickerOptions&) override { return Pick(); }
    std::optional<std::string> PickOpenFile(const FilePickerOptions&) override { return Pick(); }
    std::optional<std::string> PickFolder(const std::string&, const std::string&) override {
        return Pick();
    }

    void Press(int id) { m_dialog.OnCommand(id); }
    // A click on the list's rows area; row -1 is empty space below the rows.
    void ClickRow(int listId, int row) {
        if (row >= 0) List(listId)->SetSelectionMark(row);
        m_dialog.OnNotify(listId, {NotifyCode::Click, -1});
    }
    void ClickHeader(int listId, int column) {
        m_dialog.OnNotify(listId, {NotifyCode::ColumnClick, column});
    }
    // A double click on a row, whose first click selected it.
    void DoubleClickRow(int listId, int row) {
        ClickRow(listId, row);
        m_dialog.OnNotify(listId, {NotifyCode::DoubleClick, -1, row});
    }
    void DragRow(int listId, int from, int to) {
        m_dialog.OnNotify(listId, {NotifyCode::RowDragged, -1, from, to});
    }
    void Drop(const std::vector<std::string>& paths) { m_dialog.DropFiles(paths); }
    // Ends the window as the window system does: OnDestroy while the controls still exist.
    void Destroy() {
        if (std::exchange(m_destroyed, true)) return;
        m_dialog.OnDestroy();
        m_dialog.Detach();
    }

    std::string caption;
    // The result the dialog ended with, if it did.
    std::optional<int> result;

private:
    std::optional<std::string> Pick();

    FakeWindowSystem& m_system;
    CDialog& m_dialog;
    mutable std::map<int, std::string> m_texts;
    std::map<int, bool> m_checks;
    std::map<int, FakeListView> m_lists;
    bool m_destroyed = false;
};

// The Pictures window in memory: its grid is a list view as the main list is, a test acts in it
// as the user does, with the mouse or the keys the grid hands on, and sees what it shows.
class FakePicturesWindow : public PicturesWindow {
public:
    FakePicturesWindow(FakeWindowSystem& system, CDialog& dialog, const PicturesWindowSetup& setup);
    ~FakePicturesWindow() override;

    FakeListView* Grid() override { return &grid; }
    void ShowPreview(const PreviewLook& shown) override { preview = shown; }
    void TilesChanged() override { ++tilesDrawn; }
    int TileSize() const override { return tileSize; }
    WindowPlace Place() const override { return place; }
    void Wake() override { woken = true; }

    // Clicks, Shift and Ctrl clicks, and arrows, as they leave the selection.
    void Select(const std::vector<int>& rows, int mark) {
        grid.SetSelection(rows, mark);
        Notify({NotifyCode::SelectionChanged});
    }
    void DoubleClick(int row) {
        Select({row}, row);
        Notify({NotifyCode::DoubleClick, -1, row});
    }
    // The selected tiles dropped before the tile `before`.
    void Drag(int before) { Notify({NotifyCode::RowsDragged, -1, -1, before}); }
    void Press(ItemKey key) { Notify({NotifyCode::KeyPressed, -1, -1, -1, key}); }
    void Drop(const std::vector<std::string>& paths, int at) { m_dialog.DropFiles(paths, at); }
    void CloseBox() { m_dialog.OnCommand(m_setup.routes.toggle); }
    void Play() { m_dialog.OnCommand(m_setup.routes.play); }
    // Scrolled so that these tiles are in sight, and told again, as the window does once it has
    // drawn, until nothing is left to ask for.
    void Show(int first, int last) {
        for (bool more = true; more;) more = m_setup.tiles.Showing(first, last);
    }

    // What the window's thread does once woken.
    bool TakeArrived() { return woken.exchange(false) && m_setup.tiles.TakeArrived(); }
    TileLook Tile(int row) const { return m_setup.tiles.Tile(row); }

    FakeListView grid;
    PreviewLook preview;
    int tilesDrawn = 0;
    int tileSize = 0;
    WindowPlace place{900, 40, 640, 480};
    std::atomic<bool> woken = false;
    // Where the window system was asked to open it.
    std::optional<WindowPlace> openedAt;

private:
    void Notify(const Notification& notification) {
        m_dialog.OnNotify(m_setup.routes.grid, notification);
    }

    FakeWindowSystem& m_system;
    CDialog& m_dialog;
    PicturesWindowSetup m_setup;
};

// Scripted answers for boxes, pickers and nested dialogs; records what the program showed.
class FakeWindowSystem : public WindowSystem {
public:
    using DialogScript = std::function<void(FakeWindow&)>;

    int RunModal(CDialog& dialog, WindowHost*) override {
        FakeWindow window(*this, dialog);
        if (const std::optional<DialogScript> script = Next(dialogScripts)) (*script)(window);
        if (!window.result) window.Press(IDCANCEL);
        window.Destroy();
        return window.result.value_or(IDCANCEL);
    }
    void OpenDocument(const std::string& target) override { opened.push_back(target); }
    std::string AppTitle() const override { return "vistello"; }
    MsgAnswer OwnerlessMessageBox(const std::string& text, const std::string& caption,
                                  MsgButtons buttons, MsgIcon icon) override {
        boxes.push_back({text, caption, buttons, icon});
        return MsgAnswer::Ok;
    }
    bool StartSockets() override { return socketsStart; }
    void EnableToolTips(bool on) override { toolTips = on; }
    std::unique_ptr<PicturesWindow> OpenPicturesWindow(CDialog& dialog, WindowHost*,
                                                       const PicturesWindowSetup& setup) override {
        return std::make_unique<FakePicturesWindow>(*this, dialog, setup);
    }
    std::string ManualPath() const override { return "/usr/share/doc/vistello/manual.html"; }
    // Runs every command to its end, unless Cancel is to be pressed.
    std::unique_ptr<Progress> StartProgress(int, const std::string& unit, WindowHost*) override {
        progressUnits.push_back(unit);
        struct Scripted : Progress {
            Scripted(bool stop, const std::atomic<bool>& stopNow, std::function<void()>& step,
                     std::vector<std::string>& lines)
                : cancel(stop), cancelNow(stopNow), onStep(step), shown(lines) {}
            bool Step(int) override {
                if (onStep) std::exchange(onStep, nullptr)();
                return !cancel && !cancelNow;
            }
            bool StepWithText(int done, const std::string& line) override {
                shown.push_back(line);
                return Step(done);
            }
            bool cancel;
            const std::atomic<bool>& cancelNow;
            std::function<void()>& onStep;
            std::vector<std::string>& shown;
        };
        return std::make_unique<Scripted>(cancelProgress, cancelNow, onProgressStep, progressLines);
    }

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
    // Cancel is pressed from now on, whichever thread of the run raises it.
    std::atomic<bool> cancelNow = false;
    // What the user does while the next progress is shown, as its window stays painted.
    std::function<void()> onProgressStep;
    // What each progress counted, as its label names it ("Page", "Album 1 of 2 · Image").
    std::vector<std::string> progressUnits;
    // The lines progress showed in place of its count, in turn.
    std::vector<std::string> progressLines;
    bool toolTips = false;
    std::vector<ShownBox> boxes;
    std::vector<std::string> opened;
    // The Pictures window while it is open.
    FakePicturesWindow* pictures = nullptr;
};

inline FakePicturesWindow::FakePicturesWindow(FakeWindowSystem& system, CDialog& dialog,
                                              const PicturesWindowSetup& setup)
    : tileSize(setup.tileSize),
      openedAt(setup.place),
      m_system(system),
      m_dialog(dialog),
      m_setup(setup) {
    if (setup.place) place = *setup.place;
    m_system.pictures = this;
}

inline FakePicturesWindow::~FakePicturesWindow() {
    if (m_system.pictures == this) m_system.pictures = nullptr;
}

inline FakeWindow::FakeWindow(FakeWindowSystem& system, CDialog& dialog)
    : m_system(system), m_dialog(dialog) {
    m_dialog.Attach(this, &system);
    m_dialog.OnInitDialog();
}

inline MsgAnswer FakeWindow::MessageBox(const std::string& text, const std::string& title,
                                        MsgButtons buttons, MsgIcon icon) {
    m_system.boxes.push_back({text, title, buttons, icon});
    return Next(m_system.answers)
        .value_or(buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No);
}

inline std::optional<std::string> FakeWindow::Pick() {
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    return Next(m_system.pickerAnswers).value_or(std::nullopt);
}

}  // namespace vistello::testing
