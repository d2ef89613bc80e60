#include "ui/main_dialog.h"

namespace vistello {

int CMainDialog::OnColumnClick(const Notification& notification) {
    SortByColumn(notification.subItem);
    return 0;
}

void CMainDialog::SortByColumn(int column) {
    m_nEntryCount = m_listEntries.RowCount();
    m_listEntries.SortByColumn(column);
    UpdateData(false);
}

}  // namespace vistello
