#include <memory>
#include <optional>
#include <vector>

#include "framework/window_system.h"
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

// As a header click leaves the list: one repaint, the fields and the selection as they were.
void CMainDialog::OnSortByDateTaken() {
    std::vector<std::optional<TakenAt>> takenAt;
    takenAt.reserve(static_cast<size_t>(m_listEntries.RowCount()));
    {
        const std::unique_ptr<Progress> progress =
            System().StartProgress(m_listEntries.RowCount(), "Photo", &Host());
        for (int row = 0; row < m_listEntries.RowCount(); ++row) {
            takenAt.push_back(TakenAtOf(m_listEntries.Row(row).imagePath));
            if (!progress->Step(row + 1)) return;
        }
    }
    m_nEntryCount = m_listEntries.RowCount();
    m_listEntries.SortByTakenAt(takenAt);
    UpdateData(false);
}

std::optional<TakenAt> CMainDialog::TakenAtOf(const std::string& path) {
    const std::optional<FileStamp> stamp = StampOf(Files(), path);
    if (stamp) {
        const auto known = m_takenAt.find(path);
        if (known != m_takenAt.end() && known->second.stamp == *stamp) return known->second.takenAt;
    }
    const std::optional<PhotoDetails> details = Photos().ReadWhenAndHow(path);
    const std::optional<TakenAt> takenAt = details ? details->takenAt : std::nullopt;
    if (stamp) m_takenAt[path] = {*stamp, takenAt};
    return takenAt;
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
