#pragma once

#include <string>
#include <vector>

namespace vistello {

inline constexpr int IDC_STATIC = -1;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

enum class ControlKind {
    Edit,
    ReadOnlyEdit,
    // An edit that shows dots in place of what is typed.
    PasswordEdit,
    PushButton,
    DefPushButton,
    CheckBox,
    ListView,
    Label,
    GroupBox,
    Icon
};

// Position and size in dialog units.
struct DluRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

struct ControlTemplate {
    int id = IDC_STATIC;
    ControlKind kind = ControlKind::Label;
    std::string text;
    DluRect rect;
    // What the control does, shown while tool tips are on.
    std::string tip;
    // For a label: the control it names, which also takes its text as its accessible name.
    int names = IDC_STATIC;
    // What a screen reader calls the control, where neither its text nor a label says it.
    std::string accessibleName;
};

struct MenuItemTemplate {
    std::string text;
    int id = 0;
    // A key that runs the item from anywhere in the window, e.g. "F1".
    std::string shortcut;
};

struct MenuTemplate {
    std::string title;
    std::vector<MenuItemTemplate> items;
};

// A dialog laid out as data. Controls are listed in tab order.
struct DialogTemplate {
    std::string caption;
    // The desktop's own face is used at this size.
    int pointSize = 8;
    int width = 0;
    int height = 0;
    std::vector<ControlTemplate> controls;
    std::vector<MenuTemplate> menu;
    // Files dragged from the desktop may be dropped anywhere on the window.
    bool acceptFiles = false;
};

}  // namespace vistello
