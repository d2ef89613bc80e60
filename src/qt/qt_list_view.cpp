#include "qt/qt_list_view.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <utility>

#include "qt/qstring_bytes.h"
#include "qt/qt_table_model.h"

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
            [this](const QItemSelection& selected) { RememberSelected(selected); });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &QtListView::headerClicked);
}

QtListView::~QtListView() {
    if (m_model->Source() != nullptr) m_model->Source()->ViewClosed();
}

void QtListView::SetupLook() {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setShowGrid(false);
    setWordWrap(false);
    setSortingEnabled(false);
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

void QtListView::BeginResetRows() { m_model->BeginResetRows(); }

void QtListView::EndResetRows() { m_model->EndResetRows(); }

void QtListView::RowsChanged(int first, int last) { m_model->RowsChanged(first, last); }

// The mark follows its row as rows come and go above it, and is gone with its row.
int QtListView::SelectionMark() const { return m_mark.isValid() ? m_mark.row() : -1; }

void QtListView::SetSelectionMark(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
        m_mark = QPersistentModelIndex();
        return;
    }
    selectRow(row);
    m_mark = QPersistentModelIndex(m_model->index(row, 0));
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
}

// The second click of a double click is not a click of its own.
void QtListView::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    const bool secondOfDouble = std::exchange(m_releaseEndsDoubleClick, false);
    if (event->button() == Qt::LeftButton && !secondOfDouble) emit rowsAreaClicked();
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
