#include "ui/dialog_templates.h"

#include "ui/resource_ids.h"

namespace vistello {

namespace {

using K = ControlKind;

ControlTemplate Label(const char* text, int x, int y, int w) {
    return {IDC_STATIC, K::Label, text, {x, y, w, 8}};
}

std::vector<MenuTemplate> MainMenu() {
    return {
        {"&File",
         {{"&Open", ids::kMenuOpen},
          {"Save &As", ids::kMenuSaveAs},
          {"&Save", ids::kMenuSave},
          {"&Quit", ids::kMenuQuit}}},
        {"&Entry",
         {{"&Add", ids::kMenuEntryAdd},
          {"&Update", ids::kMenuEntryUpdate},
          {"&Remove", ids::kMenuEntryRemove},
          {"&Import Directory", ids::kMenuImportDirectory}}},
        {"&Options",
         {{"&Preferences", ids::kMenuPreferences}, {"&Clear List", ids::kMenuClearList}}},
        {"&Help",
         {{"&About", ids::kMenuAbout},
          {"&Manual", ids::kMenuManual},
          {"&Support", ids::kMenuSupport},
          {"More &Info", ids::kMenuMoreInfo},
          {"&UnInstall", ids::kMenuUninstall}}},
    };
}

DialogTemplate BuildMainDialog() {
    DialogTemplate t;
    t.id = ids::kMainDialog;
    t.caption = "Vistello";
    t.font = "MS Sans Serif";
    t.pointSize = 8;
    t.width = 288;
    t.height = 226;
    t.menu = MainMenu();
    // Group boxes first so the fields drawn after them sit on top; they take no tab stop.
    t.controls = {
        {IDC_STATIC, K::GroupBox, "Project Settings", {7, 7, 219, 43}},
        {IDC_STATIC, K::GroupBox, "Page Settings", {7, 53, 219, 98}},
        {ids::kTemplate, K::Edit, "", {60, 16, 136, 14}},
        {ids::kBrowseTemplate, K::PushButton, "Browse", {194, 16, 29, 14}},
        {ids::kOutputFolder, K::Edit, "", {60, 30, 136, 14}},
        {ids::kBrowseOutputFolder, K::PushButton, "Browse", {194, 30, 29, 14}},
        {ids::kImagePath, K::Edit, "", {60, 62, 136, 14}},
        {ids::kBrowseImage, K::PushButton, "Browse", {194, 62, 29, 14}},
        {ids::kTitle, K::Edit, "", {60, 76, 163, 14}},
        {ids::kHeight, K::Edit, "", {60, 90, 29, 14}},
        {ids::kWidth, K::Edit, "", {125, 90, 29, 14}},
        {ids::kBorder, K::Edit, "", {194, 90, 29, 14}},
        {ids::kAlt, K::Edit, "", {60, 104, 163, 14}},
        {ids::kKeywords, K::Edit, "", {60, 118, 163, 14}},
        {ids::kDescription, K::Edit, "", {60, 132, 163, 14}},
        {ids::kEntryList, K::ListView, "", {7, 152, 219, 60}},
        {ids::kGenerate, K::PushButton, "Generate", {231, 7, 50, 14}},
        {ids::kNewProject, K::PushButton, "New Project", {231, 20, 50, 14}},
        {ids::kSaveProject, K::PushButton, "Save Project", {231, 34, 50, 14}},
        {ids::kAdd, K::PushButton, "Add", {231, 68, 50, 14}},
        {ids::kUpdate, K::PushButton, "Update", {231, 82, 50, 14}},
        {ids::kRemove, K::PushButton, "Remove", {231, 96, 50, 14}},
        {ids::kClearFields, K::PushButton, "Clear Fields", {231, 110, 50, 14}},
        {ids::kClearList, K::PushButton, "Clear List", {231, 155, 50, 14}},
        {ids::kPreferences, K::PushButton, "Preferences", {231, 169, 50, 14}},
        {IDOK, K::DefPushButton, "Quit", {231, 198, 50, 14}},
        {ids::kEntryCount, K::ReadOnlyEdit, "", {231, 141, 50, 14}},
        Label("Template:", 13, 19, 45),
        Label("Output Folder:", 13, 33, 47),
        Label("Image:", 13, 65, 45),
        Label("Image Title:", 13, 79, 45),
        Label("Image Height:", 13, 93, 46),
        Label("Width:", 99, 93, 24),
        Label("Border:", 164, 93, 28),
        Label("Image ALT:", 13, 108, 45),
        Label("Keywords:", 13, 122, 45),
        Label("Description:", 13, 136, 45),
        {ids::kBottomLine,
         K::Label,
         "Vistello - HTML Slide Show Maker, version 1.0",
         {7, 216, 258, 8}},
    };
    return t;
}

DialogTemplate BuildAboutDialog() {
    DialogTemplate t;
    t.id = ids::kAboutDialog;
    t.caption = "About Vistello";
    t.font = "MS Sans Serif";
    t.pointSize = 8;
    t.width = 235;
    t.height = 55;
    t.controls = {
        {IDC_STATIC, K::Icon, "", {8, 8, 20, 20}},
        {IDOK, K::DefPushButton, "OK", {178, 7, 50, 14}},
        Label("Vistello Version 1.0", 31, 10, 119),
        Label("An HTML slide show maker.", 31, 19, 140),
        Label("Free software for the Linux desktop.", 31, 28, 140),
        Label("Made with C++20 and Qt 6.", 31, 37, 140),
    };
    return t;
}

}  // namespace

const DialogTemplate& MainDialogTemplate() {
    static const DialogTemplate kTemplate = BuildMainDialog();
    return kTemplate;
}

const DialogTemplate& AboutDialogTemplate() {
    static const DialogTemplate kTemplate = BuildAboutDialog();
    return kTemplate;
}

}  // namespace vistello
