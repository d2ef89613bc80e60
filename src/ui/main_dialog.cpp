#include "ui/main_dialog.h"

#include "platform/data_exchange.h"
#include "platform/window_host.h"
#include "project/project_file.h"
#include "ui/about_dialog.h"
#include "ui/dialog_templates.h"
#include "ui/messages.h"
#include "ui/resource_ids.h"

namespace vistello {

CMainDialog::CMainDialog() : CDialog(MainDialogTemplate()) { MapCommands(); }

void CMainDialog::MapCommands() {
    MapCommand(ids::kGenerate, [this] { OnGenerate(); });
    MapCommand(ids::kAdd, [this] { OnAdd(); });
    MapCommand(ids::kUpdate, [this] { OnUpdate(); });
    MapCommand(ids::kRemove, [this] { OnRemove(); });
    MapCommand(ids::kClearFields, [this] { OnClearFields(); });
    MapCommand(ids::kClearList, [this] { OnClearList(); });
    MapCommand(ids::kMenuClearList, [this] { OnMenuClearList(); });
    MapCommand(ids::kNewProject, [this] { OnNewProject(); });
    MapCommand(ids::kMenuSave, [this] { OnFileSave(); });
    MapCommand(ids::kMenuQuit, [this] { OnQuit(); });
    MapCommand(ids::kMenuAbout, [this] { OnHelpAbout(); });
    for (int id : {ids::kSaveProject, ids::kMenuOpen, ids::kMenuSaveAs, ids::kMenuEntryAdd,
                   ids::kMenuEntryUpdate, ids::kMenuEntryRemove, ids::kMenuImportDirectory,
                   ids::kMenuMoreInfo, ids::kMenuUninstall}) {
        MapCommand(id, [this] { OnNoAction(); });
    }
    MapNotify(ids::kEntryList, NotifyCode::Click,
              [this](const Notification& n) { return OnClickList(n); });
    MapNotify(ids::kEntryList, NotifyCode::ColumnClick,
              [this](const Notification& n) { return OnColumnClick(n); });
}

void CMainDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, ids::kEntryList, m_listEntries);
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
    Host().EnableToolTips(m_strToolTips == "yes");
    if (m_strProjectFile.empty()) m_strProjectFile = kDefaultProjectFile;
    ReadProjectFile();
    // The field shows the default the program will use, so what the user sees is what Generate
    // reads.
    if (m_strTemplate.empty()) {
        m_strTemplate = kDefaultTemplate;
        UpdateData(false);
    }
    return true;
}

// However the window closes, the preferences are written first so that they name the project
// written next, which the next start reads.
void CMainDialog::OnDestroy() {
    CDialog::OnDestroy();
    SavePreferences();
    WriteProjectFile();
}

void CMainDialog::SetupListColumns() { m_listEntries.SetupColumns(); }

void CMainDialog::AutoSizeColumns() { m_listEntries.AutoSizeColumns(); }

void CMainDialog::AddEntryRow() {
    UpdateData(true);
    if (m_strImagePath.empty()) return;
    m_listEntries.InsertTop(PageFields());
    AutoSizeColumns();
    RefreshEntryCount();
}

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

// Linux window managers own the system menu, so the About box hangs from Help > About instead.
void CMainDialog::OnHelpAbout() {
    UpdateData(true);
    CAboutDialog about;
    about.DoModal(System(), &Host());
    UpdateData(false);
}

void CMainDialog::OnNoAction() {
    UpdateData(true);
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
