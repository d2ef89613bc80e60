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

void CMainDialog::OnMoveUp() { MoveSelectedBy(-1); }

void CMainDialog::OnMoveDown() { MoveSelectedBy(1); }

// The selection moves with the slide, so pressing again moves the same slide on. The fields
// keep what the user typed.
void CMainDialog::MoveSelectedBy(int step) {
    const int row = m_listView.SelectionMark();
    if (row >= 0) m_listEntries.MoveRow(row, row + step);
}

int CMainDialog::OnRowDragged(const Notification& notification) {
    m_listEntries.MoveRow(notification.item, notification.target);
    return 0;
}

}  // namespace vistello
