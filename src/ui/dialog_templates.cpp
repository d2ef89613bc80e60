#include "ui/dialog_templates.h"

#include "ui/resource_ids.h"

namespace vistello {

namespace {

using K = ControlKind;

ControlTemplate Ctl(int id, ControlKind kind, const char* text, DluRect rect,
                    const char* tip = "") {
    ControlTemplate control;
    control.id = id;
    control.kind = kind;
    control.text = text;
    control.rect = rect;
    control.tip = tip;
    return control;
}

// A control whose text does not tell a screen reader's user what it is for.
ControlTemplate Named(ControlTemplate control, const char* accessibleName) {
    control.accessibleName = accessibleName;
    return control;
}

ControlTemplate Label(const char* text, int x, int y, int w, int names = IDC_STATIC) {
    ControlTemplate label = Ctl(IDC_STATIC, K::Label, text, {x, y, w, 8});
    label.names = names;
    return label;
}

MenuItemTemplate Item(const char* text, int id, const char* shortcut = "") {
    MenuItemTemplate item;
    item.text = text;
    item.id = id;
    item.shortcut = shortcut;
    return item;
}

std::vector<MenuTemplate> MainMenu() {
    return {
        {"&File",
         {Item("&Open", ids::kMenuOpen), Item("Save &As", ids::kMenuSaveAs),
          Item("&Save", ids::kMenuSave), Item("&Publish...", ids::kMenuPublish),
          Item("&Quit", ids::kMenuQuit)}},
        {"&Entry",
         {Item("&Add", ids::kMenuEntryAdd), Item("&Update", ids::kMenuEntryUpdate),
          Item("&Remove", ids::kMenuEntryRemove),
          Item("&Import Directory", ids::kMenuImportDirectory),
          Item("Import F&older Tree as Albums", ids::kMenuImportTree),
          Item("Open Al&bum", ids::kMenuOpenAlbum),
          Item("&Close Album and Go Back", ids::kMenuCloseAlbum),
          Item("Use as Album Co&ver", ids::kMenuUseAsCover),
          Item("&Make Album Private...", ids::kMenuMakePrivate),
          Item("Make Album Pub&lic", ids::kMenuMakePublic),
          Item("&Fill From Photo", ids::kMenuFillFromPhoto),
          Item("Move U&p", ids::kMenuMoveUp, "Alt+Up"),
          Item("Move &Down", ids::kMenuMoveDown, "Alt+Down"),
          Item("Sor&t by Date Taken", ids::kMenuSortByDate),
          Item("&Show Pictures", ids::kMenuShowPictures, "Ctrl+Shift+P")}},
        {"&Options",
         {Item("&Preferences", ids::kMenuPreferences), Item("&Clear List", ids::kMenuClearList),
          Item("&Web Images...", ids::kMenuWebImages)}},
        {"&Help",
         {Item("&About", ids::kMenuAbout), Item("&Manual", ids::kMenuManual, "F1"),
          Item("&Support", ids::kMenuSupport), Item("More &Info", ids::kMenuMoreInfo),
          Item("&UnInstall", ids::kMenuUninstall)}},
    };
}

DialogTemplate BuildMainDialog() {
    DialogTemplate t;
    t.caption = "Vistello";
    t.pointSize = 8;
    t.width = 288;
    t.height = 226;
    t.menu = MainMenu();
    t.acceptFiles = true;
    // Group boxes first so the fields drawn after them sit on top; they take no tab stop.
    t.controls = {
        Ctl(IDC_STATIC, K::GroupBox, "Project Settings", {7, 7, 219, 43}),
        Ctl(IDC_STATIC, K::GroupBox, "Page Settings", {7, 53, 219, 98}),
        Ctl(ids::kTemplate, K::Edit, "", {60, 16, 136, 14},
            "The HTML template that every page is made from"),
        Named(Ctl(ids::kBrowseTemplate, K::PushButton, "Browse", {194, 16, 29, 14},
                  "Choose the template file"),
              "Browse for the template"),
        Ctl(ids::kOutputFolder, K::Edit, "", {60, 30, 136, 14},
            "The folder that receives the pages and the images"),
        Named(Ctl(ids::kBrowseOutputFolder, K::PushButton, "Browse", {194, 30, 29, 14},
                  "Choose the output folder"),
              "Browse for the output folder"),
        Ctl(ids::kImagePath, K::Edit, "", {60, 62, 136, 14}, "The image file of this slide"),
        Named(Ctl(ids::kBrowseImage, K::PushButton, "Browse", {194, 62, 29, 14},
                  "Choose the image file"),
              "Browse for the image"),
        Ctl(ids::kTitle, K::Edit, "", {60, 76, 163, 14},
            "The slide's title; it also names the slide's page"),
        Ctl(ids::kHeight, K::Edit, "", {60, 90, 29, 14}, "Display height, e.g. 480 or 50%"),
        Ctl(ids::kWidth, K::Edit, "", {125, 90, 29, 14}, "Display width, e.g. 640 or 100%"),
        Ctl(ids::kBorder, K::Edit, "", {194, 90, 29, 14}, "Border width around the image"),
        Ctl(ids::kAlt, K::Edit, "", {60, 104, 163, 14},
            "Text shown in place of the image, read aloud by screen readers"),
        Ctl(ids::kKeywords, K::Edit, "", {60, 118, 163, 14}, "Keywords for the slide's page"),
        Ctl(ids::kDescription, K::Edit, "", {60, 132, 163, 14}, "A description of the slide"),
        Ctl(ids::kEntryList, K::ListView, "", {7, 152, 219, 60},
            "The slides in show order; click a row to edit it, a header to sort"),
        Ctl(ids::kGenerate, K::PushButton, "Generate", {231, 7, 50, 14},
            "Write the slide show's pages into the output folder"),
        Ctl(ids::kNewProject, K::PushButton, "New Project", {231, 20, 50, 14},
            "Start a new project in a file of your choice"),
        Ctl(ids::kSaveProject, K::PushButton, "Save Project", {231, 34, 50, 14},
            "Save the project now"),
        Ctl(ids::kAdd, K::PushButton, "Add", {231, 68, 50, 14},
            "Add the fields as a new slide at the top"),
        Ctl(ids::kUpdate, K::PushButton, "Update", {231, 82, 50, 14},
            "Replace the selected slide with the fields"),
        Ctl(ids::kRemove, K::PushButton, "Remove", {231, 96, 50, 14}, "Remove the selected slide"),
        Ctl(ids::kClearFields, K::PushButton, "Clear Fields", {231, 110, 50, 14},
            "Empty the slide's fields"),
        Ctl(ids::kClearList, K::PushButton, "Clear List", {231, 155, 50, 14},
            "Remove every slide from the list"),
        Ctl(ids::kPreferences, K::PushButton, "Preferences", {231, 169, 50, 14},
            "Change the template tags and tool tips"),
        Ctl(IDOK, K::DefPushButton, "Quit", {231, 198, 50, 14}, "Save everything and close"),
        Named(
            Ctl(ids::kEntryCount, K::ReadOnlyEdit, "", {231, 141, 50, 14}, "The number of slides"),
            "Number of slides"),
        Label("Template:", 13, 19, 45, ids::kTemplate),
        Label("Output Folder:", 13, 33, 47, ids::kOutputFolder),
        Label("Image:", 13, 65, 45, ids::kImagePath),
        Label("Image Title:", 13, 79, 45, ids::kTitle),
        Label("Image Height:", 13, 93, 46, ids::kHeight),
        Label("Width:", 99, 93, 24, ids::kWidth),
        Label("Border:", 164, 93, 28, ids::kBorder),
        Label("Image ALT:", 13, 108, 45, ids::kAlt),
        Label("Keywords:", 13, 122, 45, ids::kKeywords),
        Label("Description:", 13, 136, 45, ids::kDescription),
        Ctl(ids::kBottomLine, K::Label,
            "Vistello - HTML Slide Show Maker, version " VISTELLO_VERSION, {7, 216, 258, 8}),
    };
    return t;
}

DialogTemplate BuildAboutDialog() {
    DialogTemplate t;
    t.caption = "About Vistello";
    t.pointSize = 8;
    t.width = 235;
    t.height = 55;
    t.controls = {
        Ctl(IDC_STATIC, K::Icon, "", {8, 8, 20, 20}),
        Ctl(IDOK, K::DefPushButton, "OK", {178, 7, 50, 14}),
        Label("Vistello Version " VISTELLO_VERSION, 31, 10, 119),
        Label("An HTML slide show maker.", 31, 19, 140),
        Label("Free software for the Linux desktop.", 31, 28, 140),
        Label("Made with C++20 and Qt 6.", 31, 37, 140),
    };
    return t;
}

DialogTemplate BuildPreferencesDialog() {
    DialogTemplate t;
    t.caption = "Preferences";
    t.pointSize = 8;
    t.width = 166;
    t.height = 212;
    const char* tagTip = "The tag that the template uses for this value";
    t.controls = {
        Ctl(IDC_STATIC, K::GroupBox, "Variables:", {11, 30, 139, 122}),
        Ctl(ids::kPrefImagePath, K::Edit, "", {76, 37, 70, 14}, tagTip),
        Ctl(ids::kTitle, K::Edit, "", {76, 51, 70, 14}, tagTip),
        Ctl(ids::kHeight, K::Edit, "", {76, 65, 70, 14}, tagTip),
        Ctl(ids::kWidth, K::Edit, "", {76, 79, 70, 14}, tagTip),
        Ctl(ids::kBorder, K::Edit, "", {76, 93, 70, 14}, tagTip),
        Ctl(ids::kAlt, K::Edit, "", {76, 107, 70, 14}, tagTip),
        Ctl(ids::kKeywords, K::Edit, "", {76, 121, 70, 14}, tagTip),
        Ctl(ids::kDescription, K::Edit, "", {76, 135, 70, 14}, tagTip),
        Ctl(ids::kPrefToolTips, K::CheckBox, "ToolTips", {10, 158, 43, 10},
            "Show these short help texts"),
        Ctl(IDOK, K::DefPushButton, "OK", {102, 156, 50, 14}, "Keep these settings and save them"),
        Label("Image Path:", 15, 40, 61, ids::kPrefImagePath),
        Label("Image Title:", 15, 54, 61, ids::kTitle),
        Label("Image Height:", 15, 68, 61, ids::kHeight),
        Label("Image Width:", 15, 82, 61, ids::kWidth),
        Label("Image Border:", 15, 96, 61, ids::kBorder),
        Label("Image Alt:", 15, 110, 61, ids::kAlt),
        Label("Image Keywords:", 15, 124, 61, ids::kKeywords),
        Label("Image Description:", 15, 138, 61, ids::kDescription),
        Label("Use the variable tags in your HTML template", 7, 171, 155),
        Label("and they will be substituted for the value from the", 7, 179, 155),
        Label("list.  You can change tags, but it is not advisable.", 7, 187, 155),
        Label("Preferences are automatically saved on OK.", 7, 195, 155),
    };
    return t;
}

DialogTemplate BuildWebImagesDialog() {
    DialogTemplate t;
    t.caption = "Web Images";
    t.pointSize = 8;
    t.width = 220;
    t.height = 170;
    t.controls = {
        Ctl(ids::kWebLargestSide, K::Edit, "", {110, 7, 40, 14},
            "Web copies are at most this many pixels on their longer side; empty copies the "
            "images as they are"),
        Ctl(ids::kWebQuality, K::Edit, "", {110, 25, 40, 14},
            "JPEG quality of the web copies and thumbnails"),
        Ctl(ids::kWebThumbnailSide, K::Edit, "", {110, 43, 40, 14},
            "The longer side of each thumbnail in pixels; empty makes none"),
        Ctl(ids::kWebKeepDetails, K::CheckBox, "&Keep camera details and location",
            {7, 62, 160, 10}, "Off, the web copies carry no camera details and no GPS location"),
        Ctl(ids::kWebAvif, K::CheckBox, "Also make &AVIF copies (smaller, slower)",
            {7, 76, 200, 10},
            "Pages whose template holds <<MEDIA>> also offer each picture in AVIF, which takes "
            "far longer to make"),
        Ctl(ids::kWebOverview, K::Edit, "", {7, 100, 170, 14},
            "The template of an overview page of all slides; empty makes none"),
        Named(Ctl(ids::kWebBrowseOverview, K::PushButton, "Browse", {180, 100, 33, 14},
                  "Choose the overview page template"),
              "Browse for the overview page template"),
        Ctl(ids::kWebSiteTitle, K::Edit, "", {7, 128, 206, 14},
            "The title of the top overview page; an album's overview takes the album's title"),
        Ctl(IDOK, K::DefPushButton, "OK", {106, 149, 50, 14}, "Keep these settings"),
        Ctl(IDCANCEL, K::PushButton, "Cancel", {163, 149, 50, 14},
            "Leave the settings as they were"),
        Label("&Largest side (pixels):", 7, 10, 100, ids::kWebLargestSide),
        Label("&Quality (1 to 100):", 7, 28, 100, ids::kWebQuality),
        Label("&Thumbnail side (pixels):", 7, 46, 100, ids::kWebThumbnailSide),
        Label("&Overview page template:", 7, 90, 160, ids::kWebOverview),
        Label("&Site title:", 7, 118, 160, ids::kWebSiteTitle),
    };
    return t;
}

DialogTemplate BuildPublishDialog() {
    DialogTemplate t;
    t.caption = "Publish";
    t.pointSize = 8;
    t.width = 260;
    t.height = 82;
    t.controls = {
        Ctl(ids::kPublishAddress, K::Edit, "", {7, 18, 246, 14},
            "Where the site goes: sftp://user@host/folder, ftp://, ftps://, https:// for WebDAV, "
            "or s3://endpoint/bucket/folder"),
        Ctl(ids::kPublishTest, K::PushButton, "&Test Connection", {7, 61, 70, 14},
            "Log in to the server and reach the site's folder, sending nothing"),
        Ctl(IDOK, K::DefPushButton, "&Publish", {146, 61, 50, 14},
            "Send what changed in the output folder since the server last got it"),
        Ctl(IDCANCEL, K::PushButton, "&Close", {203, 61, 50, 14}, "Close this window"),
        Label("Server &address:", 7, 7, 246, ids::kPublishAddress),
        Ctl(IDC_STATIC, K::Label,
            "Passwords are kept in the desktop's keyring, never in the project.", {7, 38, 246, 16}),
    };
    return t;
}

// The prompt says who asks and why; the window shows it at the top.
DialogTemplate BuildPasswordDialog(bool withAccessKey) {
    DialogTemplate t;
    t.caption = "Password";
    t.pointSize = 8;
    t.width = 220;
    const int top = withAccessKey ? 58 : 34;
    t.height = top + 52;
    if (withAccessKey) {
        t.controls.push_back(Ctl(ids::kPasswordAccessKey, K::Edit, "", {7, 40, 206, 14},
                                 "The S3 access key id the secret belongs to"));
    }
    t.controls.insert(
        t.controls.end(),
        {Ctl(ids::kPasswordSecret, K::PasswordEdit, "", {7, top + 6, 206, 14}),
         Ctl(ids::kPasswordRemember, K::CheckBox, "&Remember in the keyring",
             {7, top + 24, 130, 10},
             "Keep it in the desktop's keyring, so that the next publish asks no more"),
         Ctl(IDOK, K::DefPushButton, "OK", {106, top + 34, 50, 14}),
         Ctl(IDCANCEL, K::PushButton, "Cancel", {163, top + 34, 50, 14}),
         Ctl(ids::kPasswordPrompt, K::Label, "", {7, 7, 206, 24})});
    if (withAccessKey)
        t.controls.push_back(Label("&Access key ID:", 7, 31, 206, ids::kPasswordAccessKey));
    t.controls.push_back(Label(withAccessKey ? "&Secret access key:" : "&Password:", 7, top - 3,
                               206, ids::kPasswordSecret));
    return t;
}

// The password twice, so that a typing slip does not lock the album's readers out.
DialogTemplate BuildPrivateAlbumDialog() {
    DialogTemplate t;
    t.caption = "Make Album Private";
    t.pointSize = 8;
    t.width = 220;
    t.height = 130;
    t.controls = {
        Ctl(ids::kPrivatePassword, K::PasswordEdit, "", {7, 50, 206, 14},
            "The password the album's readers type to open it"),
        Ctl(ids::kPrivateAgain, K::PasswordEdit, "", {7, 76, 206, 14},
            "The same password once more"),
        Ctl(ids::kPrivateShowTitle, K::CheckBox, "&Show the album's title on the page above",
            {7, 96, 206, 10}, "Off, the page that leads to the album calls it Private album"),
        Ctl(IDOK, K::DefPushButton, "OK", {106, 109, 50, 14}),
        Ctl(IDCANCEL, K::PushButton, "Cancel", {163, 109, 50, 14}),
        Ctl(ids::kPrivatePrompt, K::Label, "", {7, 7, 206, 32}),
        Label("&Password:", 7, 41, 206, ids::kPrivatePassword),
        Label("A&gain:", 7, 67, 206, ids::kPrivateAgain),
    };
    return t;
}

}  // namespace

const DialogTemplate& PrivateAlbumDialogTemplate() {
    static const DialogTemplate kTemplate = BuildPrivateAlbumDialog();
    return kTemplate;
}

const DialogTemplate& PublishDialogTemplate() {
    static const DialogTemplate kTemplate = BuildPublishDialog();
    return kTemplate;
}

const DialogTemplate& PasswordDialogTemplate(bool withAccessKey) {
    static const DialogTemplate kSecret = BuildPasswordDialog(true);
    static const DialogTemplate kPassword = BuildPasswordDialog(false);
    return withAccessKey ? kSecret : kPassword;
}

const DialogTemplate& WebImagesDialogTemplate() {
    static const DialogTemplate kTemplate = BuildWebImagesDialog();
    return kTemplate;
}

const DialogTemplate& MainDialogTemplate() {
    static const DialogTemplate kTemplate = BuildMainDialog();
    return kTemplate;
}

const DialogTemplate& PreferencesDialogTemplate() {
    static const DialogTemplate kTemplate = BuildPreferencesDialog();
    return kTemplate;
}

const DialogTemplate& AboutDialogTemplate() {
    static const DialogTemplate kTemplate = BuildAboutDialog();
    return kTemplate;
}

}  // namespace vistello
