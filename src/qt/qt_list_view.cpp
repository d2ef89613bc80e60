#include "qt/qt_list_view.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <utility>

#include "qt/dropped_paths.h"
#include "qt/qstring_bytes.h"
#include "qt/qt_table_model.h"
#include "qt/row_selection.h"

namespace vistello {

namespace {

// Enough candidates that glyph widths rarely let a shorter text win over a longer one, few enough
// that fitting stays instant on any number of rows.
constexpr int kMeasuredCells = 64;

}  // namespace

QtListView::QtListView(QWidget* parent) : QTableView(parent), m_model(new QtTableModel(this)) {
    setModel(m_model);
    SetupLook();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                if (m_settingSelection) return;
                RememberSelected(selected);
                emit selectionMoved();
            });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &QtListView::headerClicked);
    // Every row is as high as the others and none is hidden, so a row that moves leaves the row
    // header as it was; told of the move, it would rebuild a section for every row of the list.
    disconnect(m_model, &QAbstractItemModel::rowsAboutToBeMoved, verticalHeader(), nullptr);
    disconnect(m_model, &QAbstractItemModel::rowsMoved, verticalHeader(), nullptr);
}

QtListView::~QtListView() {
    if (m_model->Source() != nullptr) m_model->Source()->ViewClosed(this);
}

void QtListView::SetupLook() {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setShowGrid(false);
    setWordWrap(false);
    setSortingEnabled(false);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void QtListView::InsertColumn(int index, const std::string& header) {
    m_model->InsertColumn(index, ToQString(header));
}

int QtListView::ColumnCount() const { return m_model->columnCount(); }

void QtListView::SetSource(TableSource* source) {
    m_mark = QPersistentModelIndex();
    m_model->SetSource(source);
}

void QtListView::BeginInsertRows(int first, int count) { m_model->BeginInsertRows(first, count); }

void QtListView::EndInsertRows() { m_model->EndInsertRows(); }

// Left alone, the view would select a neighbour of a removed current row; the user chose no such
// row, so the selection goes with the row.
void QtListView::BeginRemoveRows(int first, int count) {
    const int current = currentIndex().row();
    if (current >= first && current < first + count) selectionModel()->clear();
    m_model->BeginRemoveRows(first, count);
}

void QtListView::EndRemoveRows() { m_model->EndRemoveRows(); }

void QtListView::BeginMoveRow(int from, int to) { m_model->BeginMoveRow(from, to); }

// A slide moved by keys stays in sight as it goes.
void QtListView::EndMoveRow() {
    m_model->EndMoveRow();
    if (m_mark.isValid()) scrollTo(m_mark);
}

void QtListView::BeginResetRows() { m_model->BeginResetRows(); }

void QtListView::EndResetRows() { m_model->EndResetRows(); }

void QtListView::RowsChanged(int first, int last) { m_model->RowsChanged(first, last); }

// The mark follows its row as rows come and go above it, and is gone with its row.
int QtListView::SelectionMark() const { return m_mark.isValid() ? m_mark.row() : -1; }

void QtListView::SetSelectionMark(int row) {
    m_settingSelection = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
        m_mark = QPersistentModelIndex();
    } else {
        selectRow(row);
        m_mark = QPersistentModelIndex(m_model->index(row, 0));
    }
    m_settingSelection = false;
}

std::vector<int> QtListView::SelectedRows() const {
    return SelectedRowsOf(selectionModel()->selection());
}

void QtListView::SetSelection(const std::vector<int>& rows, int mark) {
    m_settingSelection = true;
    selectionModel()->select(SelectionOfRows(*m_model, rows, std::max(ColumnCount() - 1, 0)),
                             QItemSelectionModel::ClearAndSelect);
    const QModelIndex marked = m_model->index(mark, 0);
    if (marked.isValid() && marked != currentIndex())
        selectionModel()->setCurrentIndex(marked, QItemSelectionModel::NoUpdate);
    m_mark = QPersistentModelIndex(marked);
    m_settingSelection = false;
}

int QtListView::FitColumn(int column, FitMode mode) {
    const int width = mode == FitMode::Content ? FitToContent(column) : FitToHeader(column);
    setColumnWidth(column, width);
    return width;
}

void QtListView::SetColumnWidth(int column, int width) { setColumnWidth(column, width); }

int QtListView::ColumnWidth(int column) const { return columnWidth(column); }

void QtListView::SetRedraw(bool on) {
    setUpdatesEnabled(on);
    if (on) viewport()->update();
}

void QtListView::mousePressEvent(QMouseEvent* event) {
    m_releaseEndsDoubleClick = false;
    QTableView::mousePressEvent(event);
}

void QtListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    m_releaseEndsDoubleClick = true;
    const QModelIndex index = indexAt(event->position().toPoint());
    m_doubleClickedRow = event->button() == Qt::LeftButton && index.isValid() ? index.row() : -1;
}

// The second click of a double click is not a click of its own. What the double click does
// waits for the release, so that the rows may change without a button held over them.
void QtListView::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    const bool secondOfDouble = std::exchange(m_releaseEndsDoubleClick, false);
    const int doubleClicked = std::exchange(m_doubleClickedRow, -1);
    if (event->button() != Qt::LeftButton) return;
    if (!secondOfDouble) {
        emit rowsAreaClicked();
    } else if (doubleClicked >= 0) {
        emit rowDoubleClicked(doubleClicked);
    }
}

// A row of this table is dropped where the view shows it would go; files of this machine may
// be dropped anywhere on the rows.
void QtListView::dragEnterEvent(QDragEnterEvent* event) {
    const bool ownRow = m_model->DraggedRow(*event->mimeData()) >= 0;
    if (ownRow) QTableView::dragEnterEvent(event);
    if (ownRow || CarriesLocalFiles(*event->mimeData())) event->acceptProposedAction();
}

void QtListView::dragMoveEvent(QDragMoveEvent* event) {
    const bool ownRow = m_model->DraggedRow(*event->mimeData()) >= 0;
    if (ownRow) QTableView::dragMoveEvent(event);
    if (ownRow || CarriesLocalFiles(*event->mimeData())) event->acceptProposedAction();
}

// The table moves the row; the drag is then told it was a copy, so the view does not go on to
// take the row out of its old place as well.
void QtListView::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    const QMimeData& carried = *event->mimeData();
    if (const int from = m_model->DraggedRow(carried); from >= 0) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        const int before = DropRow(event->position().toPoint());
        const int to = before > from ? before - 1 : before;
        if (to != from) emit rowDragged(from, to);
    } else if (CarriesLocalFiles(carried)) {
        event->acceptProposedAction();
        QMetaObject::invokeMethod(
            this, [this, paths = LocalPaths(carried)] { emit filesDropped(paths); },
            Qt::QueuedConnection);
    }
}

// The row a drop at position goes before: the upper half of a row means before it, the lower
// half after it, and empty space below the rows the end.
int QtListView::DropRow(QPoint position) const {
    const QModelIndex at = indexAt(position);
    if (!at.isValid()) return m_model->rowCount();
    return position.y() < visualRect(at).center().y() ? at.row() : at.row() + 1;
}

// Only a row that the user selects becomes the mark; the view moving its cursor on its own, as
// it does when a row is removed or focus arrives, does not.
void QtListView::RememberSelected(const QItemSelection& selected) {
    if (selected.isEmpty()) return;
    m_mark = QPersistentModelIndex(m_model->index(selected.first().top(), 0));
}

int QtListView::FitToContent(int column) {
    const TableSource* source = m_model->Source();
    if (source == nullptr) return 0;
    int width = 0;
    for (int row : source->LongestCells(column, kMeasuredCells)) {
        width = std::max(width, sizeHintForIndex(m_model->index(row, column)).width());
    }
    return width;
}

// The last column also takes whatever room the others leave, so the header reaches the edge.
int QtListView::FitToHeader(int column) {
    const int width = horizontalHeader()->sectionSizeHint(column);
    if (column != ColumnCount() - 1) return width;
    return std::max(width, RoomForLastColumn(column));
}

int QtListView::RoomForLastColumn(int column) {
    updateGeometries();
    int others = 0;
    for (int i = 0; i < column; ++i) others += columnWidth(i);
    return viewport()->width() - others;
}

}  // namespace vistello
