#include "ui/main_dialog.h"
#include "ui/messages.h"

namespace vistello {

void CMainDialog::OnAdd() {
    UpdateData(true);
    if (m_strImagePath.empty()) {
        MessageBox("Image Location is required.\r\nNo entry added.", "Error");
        return;
    }
    if (m_strTitle.empty()) {
        MessageBox("Image Title is Required.\r\nNo entry added.", "Error");
        return;
    }
    if (IsTitleInList() && AfxMessageBox("This entry is already in the list.\r\n"
                                         "If you add more than one entry with the same\r\n"
                                         "title, then only one will appear in the slideshow.\r\n"
                                         "Do you really want to add this item?",
                                         MsgButtons::YesNo) != MsgAnswer::Yes) {
        return;
    }
    m_listEntries.InsertTop(PageFields());
    AutoSizeColumns();
    RefreshEntryCount();
}

bool CMainDialog::IsTitleInList() {
    UpdateData(true);
    m_nEntryCount = m_listEntries.RowCount();
    for (int row = 0; row < m_nEntryCount; ++row) {
        if (m_listEntries.Row(row).title == m_strTitle) return true;
    }
    return false;
}

void CMainDialog::OnUpdate() {
    UpdateData(true);
    if (!m_strImagePath.empty()) m_listEntries.SetRow(m_listView.SelectionMark(), PageFields());
    AutoSizeColumns();
}

// After a removal no row is selected, so a second Remove cannot take an entry the user never
// picked. Where several rows are selected, as the Pictures window selects them, all of them go.
void CMainDialog::OnRemove() {
    const std::vector<int> selected = m_listView.SelectedRows();
    if (selected.size() > 1) {
        m_listEntries.DeleteRows(selected);
        m_listView.ClearSelectionMark();
    } else if (m_listEntries.DeleteRow(m_listView.SelectionMark())) {
        m_listView.ClearSelectionMark();
    }
    RefreshEntryCount();
}

void CMainDialog::OnClearFields() {
    UpdateData(true);
    SetPageFields(ImageEntry{});
    UpdateData(false);
}

void CMainDialog::OnClearList() {
    if (AfxMessageBox(kClearListQuestion, MsgButtons::YesNo) == MsgAnswer::Yes) {
        m_listEntries.DeleteAll();
    }
    m_nEntryCount = m_listEntries.RowCount();
    AutoSizeColumns();
    UpdateData(false);
}

void CMainDialog::OnMenuClearList() {
    UpdateData(true);
    OnClearList();
    UpdateData(false);
}

int CMainDialog::OnClickList(const Notification&) {
    LoadRowIntoFields(m_listView.SelectionMark());
    UpdateData(false);
    return 0;
}

}  // namespace vistello
