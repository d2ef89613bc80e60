#include "framework/window_system.h"
#include "slides/slide_kind.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello {

// The same again closes it.
void CMainDialog::OnShowPictures() {
    if (m_pictures.IsOpen()) {
        m_pictures.Close();
    } else {
        OpenPictures();
    }
}

void CMainDialog::OpenPictures() {
    m_pictures.Open(System(), *this, &Host(),
                    {ids::kPictureGrid, ids::kMenuShowPictures, ids::kPlayClip});
}

// As a click on a row of the list: the slide marked fills the fields.
int CMainDialog::OnGridSelected(const Notification&) {
    m_listView.ListFollowsGrid();
    LoadRowIntoFields(m_listView.SelectionMark());
    UpdateData(false);
    return 0;
}

// The slides dragged go together where they were dropped, each moved as a row dragged in the list
// moves; they stay selected.
int CMainDialog::OnTilesDragged(const Notification& notification) {
    m_listView.ListFollowsGrid();
    m_listEntries.MoveRowsBefore(m_listView.SelectedRows(), notification.target);
    return 0;
}

int CMainDialog::OnGridKey(const Notification& notification) {
    m_listView.ListFollowsGrid();
    switch (notification.key) {
        case ItemKey::Delete:
            OnRemove();
            break;
        case ItemKey::Enter:
            OnDoubleClickList({NotifyCode::DoubleClick, -1, m_listView.SelectionMark()});
            break;
        case ItemKey::CtrlUp:
        case ItemKey::CtrlLeft:
            OnMoveUp();
            break;
        case ItemKey::CtrlDown:
        case ItemKey::CtrlRight:
            OnMoveDown();
            break;
        case ItemKey::None:
            break;
    }
    return 0;
}

int CMainDialog::OnDoubleClickGrid(const Notification& notification) {
    m_listView.ListFollowsGrid();
    return OnDoubleClickList(notification);
}

void CMainDialog::OnPlayClip() {
    const int row = m_listView.SelectionMark();
    if (m_listEntries.HasRow(row) &&
        SlideKindOf(m_listEntries.Row(row).imagePath) == SlideKind::Clip)
        System().OpenDocument(m_listEntries.Row(row).imagePath);
}

// Whatever a command did to the rows and the selection, the grid and the preview show it.
void CMainDialog::OnHandled() { m_pictures.Follow(); }

}  // namespace vistello
