#include "ui/main_dialog.h"

#include <utility>

#include "framework/data_exchange.h"
#include "framework/window_host.h"
#include "framework/window_system.h"
#include "prefs/preferences_file.h"
#include "project/project_file.h"
#include "show/template_file.h"
#include "ui/about_dialog.h"
#include "ui/dialog_templates.h"
#include "ui/messages.h"
#include "ui/resource_ids.h"

namespace vistello {

namespace {

RealFileOps& SystemFiles() {
    static RealFileOps files;
    return files;
}

NoPhotoReader& NoPhotos() {
    static NoPhotoReader photos;
    return photos;
}

NoImageMaker& NoImages() {
    static NoImageMaker images;
    return images;
}

}  // namespace

CMainDialog::CMainDialog()
    : CDialog(MainDialogTemplate()),
      m_files(&SystemFiles()),
      m_photos(&NoPhotos()),
      m_images(&NoImages()) {
    MapCommands();
}

void CMainDialog::MapCommands() {
    const std::pair<int, void (CMainDialog::*)()> commands[] = {
        {ids::kGenerate, &CMainDialog::OnGenerate},
        {ids::kNewProject, &CMainDialog::OnNewProject},
        {ids::kSaveProject, &CMainDialog::OnFileSave},
        {ids::kAdd, &CMainDialog::OnAdd},
        {ids::kUpdate, &CMainDialog::OnUpdate},
        {ids::kRemove, &CMainDialog::OnRemove},
        {ids::kClearFields, &CMainDialog::OnClearFields},
        {ids::kClearList, &CMainDialog::OnClearList},
        {ids::kPreferences, &CMainDialog::OnPreferences},
        {ids::kBrowseTemplate, &CMainDialog::OnBrowseTemplate},
        {ids::kBrowseOutputFolder, &CMainDialog::OnBrowseOutputFolder},
        {ids::kBrowseImage, &CMainDialog::OnBrowseImage},
        {ids::kMenuOpen, &CMainDialog::OnFileOpen},
        {ids::kMenuSaveAs, &CMainDialog::OnFileSaveAs},
        {ids::kMenuSave, &CMainDialog::OnFileSave},
        {ids::kMenuQuit, &CMainDialog::OnQuit},
        {ids::kMenuPublish, &CMainDialog::OnPublish},
        {ids::kMenuEntryAdd, &CMainDialog::OnAdd},
        {ids::kMenuEntryUpdate, &CMainDialog::OnUpdate},
        {ids::kMenuEntryRemove, &CMainDialog::OnRemove},
        {ids::kMenuImportDirectory, &CMainDialog::OnImportDirectory},
        {ids::kMenuImportTree, &CMainDialog::OnImportFolderTree},
        {ids::kMenuOpenAlbum, &CMainDialog::OnOpenAlbum},
        {ids::kMenuCloseAlbum, &CMainDialog::OnCloseAlbum},
        {ids::kMenuUseAsCover, &CMainDialog::OnUseAsCover},
        {ids::kMenuMakePrivate, &CMainDialog::OnMakeAlbumPrivate},
        {ids::kMenuMakePublic, &CMainDialog::OnMakeAlbumPublic},
        {ids::kMenuFillFromPhoto, &CMainDialog::OnFillFromPhoto},
        {ids::kMenuMoveUp, &CMainDialog::OnMoveUp},
        {ids::kMenuMoveDown, &CMainDialog::OnMoveDown},
        {ids::kMenuSortByDate, &CMainDialog::OnSortByDateTaken},
        {ids::kMenuPreferences, &CMainDialog::OnMenuPreferences},
        {ids::kMenuClearList, &CMainDialog::OnMenuClearList},
        {ids::kMenuWebImages, &CMainDialog::OnWebImages},
        {ids::kMenuAbout, &CMainDialog::OnHelpAbout},
        {ids::kMenuManual, &CMainDialog::OnHelpManual},
        {ids::kMenuSupport, &CMainDialog::OnHelpManual},
        {ids::kMenuMoreInfo, &CMainDialog::OnHelpMoreInfo},
        {ids::kMenuUninstall, &CMainDialog::OnHelpUninstall},
        {ids::kMenuShowPictures, &CMainDialog::OnShowPictures},
        {ids::kPlayClip, &CMainDialog::OnPlayClip},
    };
    for (const auto& [id, handler] : commands) {
        MapCommand(id, [this, handler = handler] { (this->*handler)(); });
    }
    MapNotify(ids::kEntryList, NotifyCode::Click,
              [this](const Notification& n) { return OnClickList(n); });
    MapNotify(ids::kEntryList, NotifyCode::ColumnClick,
              [this](const Notification& n) { return OnColumnClick(n); });
    MapNotify(ids::kEntryList, NotifyCode::DoubleClick,
              [this](const Notification& n) { return OnDoubleClickList(n); });
    MapNotify(ids::kEntryList, NotifyCode::RowDragged,
              [this](const Notification& n) { return OnRowDragged(n); });
    const std::pair<NotifyCode, int (CMainDialog::*)(const Notification&)> grid[] = {
        {NotifyCode::SelectionChanged, &CMainDialog::OnGridSelected},
        {NotifyCode::RowsDragged, &CMainDialog::OnTilesDragged},
        {NotifyCode::KeyPressed, &CMainDialog::OnGridKey},
        {NotifyCode::DoubleClick, &CMainDialog::OnDoubleClickGrid},
    };
    for (const auto& [code, handler] : grid) {
        MapNotify(ids::kPictureGrid, code,
                  [this, handler = handler](const Notification& n) { return (this->*handler)(n); });
    }
}

void CMainDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, ids::kEntryList, m_listView);
    DDX_Text(dx, ids::kAlt, m_strAlt);
    DDX_Text(dx, ids::kDescription, m_strDescription);
    DDX_Text(dx, ids::kImagePath, m_strImagePath);
    DDX_Text(dx, ids::kTitle, m_strTitle);
    DDX_Text(dx, ids::kKeywords, m_strKeywords);
    DDX_Text(dx, ids::kOutputFolder, m_strOutputFolder);
    DDX_Text(dx, ids::kTemplate, m_strTemplate);
    DDX_Text(dx, ids::kBorder, m_strBorder);
    DDX_Text(dx, ids::kHeight, m_strHeight);
    DDX_Text(dx, ids::kWidth, m_strWidth);
    DDX_Text(dx, ids::kEntryCount, m_nEntryCount);
}

// The preferences come first: they name the project to read.
bool CMainDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetupListColumns();
    m_strToolTips = "yes";
    LoadPreferences();
    System().EnableToolTips(ToolTipsOn(m_strToolTips));
    m_strProjectFile = ProjectFileOrDefault(m_strProjectFile);
    ReadProjectFile();
    // The field shows the default the program will use, so what the user sees is what Generate
    // reads.
    m_strTemplate = TemplateFileOrDefault(m_strTemplate);
    UpdateData(false);
    if (m_pictures.Settings().open) OpenPictures();
    return true;
}

// However the window closes, the preferences are written first so that they name the project
// written next, which the next start reads.
void CMainDialog::OnDestroy() {
    CDialog::OnDestroy();
    m_pictures.CloseForQuit();
    SavePreferences();
    WriteProjectFile();
}

void CMainDialog::SetupListColumns() { m_listView.SetupColumns(); }

void CMainDialog::AutoSizeColumns() { m_listView.AutoSizeColumns(); }

// A row that does not exist leaves the fields as they are.
void CMainDialog::LoadRowIntoFields(int row) {
    if (m_listEntries.HasRow(row)) SetPageFields(m_listEntries.Row(row));
}

void CMainDialog::RefreshEntryCount() {
    m_nEntryCount = m_listEntries.RowCount();
    UpdateData(false);
}

void CMainDialog::OnQuit() {
    UpdateData(true);
    OnOK();
    UpdateData(false);
}

// The session ends as Quit ends the window, with what the fields hold; a field that does not read
// cannot hold the window open, since nobody is left to correct it.
void CMainDialog::OnEndSession() {
    UpdateData(true);
    EndDialog(IDOK);
}

// The About box hangs from the Help menu, where users look for it.
void CMainDialog::OnHelpAbout() {
    UpdateData(true);
    CAboutDialog about;
    about.DoModal(System(), &Host());
    UpdateData(false);
}

ImageEntry CMainDialog::PageFields() const {
    return {m_strTitle, m_strHeight,   m_strWidth,       m_strBorder,
            m_strAlt,   m_strKeywords, m_strDescription, m_strImagePath};
}

void CMainDialog::SetPageFields(const ImageEntry& entry) {
    m_strTitle = entry.title;
    m_strHeight = entry.height;
    m_strWidth = entry.width;
    m_strBorder = entry.border;
    m_strAlt = entry.alt;
    m_strKeywords = entry.keywords;
    m_strDescription = entry.description;
    m_strImagePath = entry.imagePath;
}

}  // namespace vistello
