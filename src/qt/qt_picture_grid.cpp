#include "qt/qt_picture_grid.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

#include "qt/dropped_paths.h"
#include "qt/qt_tile_model.h"
#include "qt/row_selection.h"
#include "qt/tile_delegate.h"

namespace vistello {

namespace {

// The keys the rows' owner acts on; the others move the selection as the grid does.
ItemKey HandedOn(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        if (event.key() == Qt::Key_Delete) return ItemKey::Delete;
        if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return ItemKey::Enter;
    }
    if (modifiers == Qt::ControlModifier) {
        switch (event.key()) {
            case Qt::Key_Up:
                return ItemKey::CtrlUp;
            case Qt::Key_Down:
                return ItemKey::CtrlDown;
            case Qt::Key_Left:
                return ItemKey::CtrlLeft;
            case Qt::Key_Right:
                return ItemKey::CtrlRight;
            default:
                break;
        }
    }
    return ItemKey::None;
}

}  // namespace

QtPictureGrid::QtPictureGrid(TileSource& tiles, TilePictures& pictures, QWidget* parent)
    : QListView(parent),
      m_tiles(tiles),
      m_model(new QtTileModel(tiles, this)),
      m_delegate(new TileDelegate(pictures, this)) {
    setModel(m_model);
    setItemDelegate(m_delegate);
    SetupLook();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) { UserSelected(selected); });
    // Keys select before they move the current tile: the mark follows once it has moved.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (selectionModel()->isSelected(current)) UserSelected({});
            });
    m_showing.setSingleShot(true);
    m_showing.setInterval(0);
    connect(&m_showing, &QTimer::timeout, this, &QtPictureGrid::TellShowing);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &QtPictureGrid::TellShowingSoon);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &QtPictureGrid::TellShowingSoon);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, &QtPictureGrid::TellShowingSoon);
    connect(m_model, &QAbstractItemModel::modelReset, this, &QtPictureGrid::TellShowingSoon);
}

QtPictureGrid::~QtPictureGrid() {
    if (m_model->Source() != nullptr) m_model->Source()->ViewClosed(this);
}

// Tiles flow left to right and wrap, all of one size, so that the layout of any number of them
// is arithmetic.
void QtPictureGrid::SetupLook() {
    setViewMode(QListView::ListMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    setSpacing(0);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(false);
    setAccessibleName(QStringLiteral("Pictures"));
}

void QtPictureGrid::SetTileSize(int side) {
    m_delegate->SetSide(side);
    setGridSize(m_delegate->Cell(fontMetrics()));
    // Narrower than a tile, the grid would leave its first line empty.
    setMinimumWidth(gridSize().width() + verticalScrollBar()->sizeHint().width() +
                    2 * frameWidth());

    verticalScrollBar()->setSingleStep(gridSize().height() / 4);
    if (m_mark.isValid()) scrollTo(m_mark);
    TellShowingSoon();
}

int QtPictureGrid::TileSize() const { return m_delegate->Side(); }

void QtPictureGrid::SetSource(TableSource* source) {
    m_mark = QPersistentModelIndex();
    m_model->SetSource(source);
}

void QtPictureGrid::BeginInsertRows(int first, int count) {
    m_model->BeginInsertRows(first, count);
}

void QtPictureGrid::EndInsertRows() { m_model->EndInsertRows(); }

// As the list: the selection goes with a removed current tile, rather than moving to a neighbour
// the user never chose.
void QtPictureGrid::BeginRemoveRows(int first, int count) {
    const int current = currentIndex().row();
    if (current >= first && current < first + count) {
        m_settingSelection = true;
        selectionModel()->clear();
        m_settingSelection = false;
    }
    m_model->BeginRemoveRows(first, count);
}

void QtPictureGrid::EndRemoveRows() { m_model->EndRemoveRows(); }

void QtPictureGrid::BeginMoveRow(int from, int to) { m_model->BeginMoveRow(from, to); }

void QtPictureGrid::EndMoveRow() {
    m_model->EndMoveRow();
    if (m_mark.isValid()) scrollTo(m_mark);
}

void QtPictureGrid::BeginResetRows() { m_model->BeginResetRows(); }

void QtPictureGrid::EndResetRows() { m_model->EndResetRows(); }

void QtPictureGrid::RowsChanged(int first, int last) { m_model->RowsChanged(first, last); }

int QtPictureGrid::SelectionMark() const { return m_mark.isValid() ? m_mark.row() : -1; }

void QtPictureGrid::SetSelectionMark(int row) {
    SetSelection(row >= 0 ? std::vector<int>{row} : std::vector<int>{}, row);
}

std::vector<int> QtPictureGrid::SelectedRows() const {
    return SelectedRowsOf(selectionModel()->selection());
}

// The marked tile comes into sight when it is another one.
void QtPictureGrid::SetSelection(const std::vector<int>& rows, int mark) {
    m_settingSelection = true;
    selectionModel()->select(SelectionOfRows(*m_model, rows, 0),
                             QItemSelectionModel::ClearAndSelect);
    const QModelIndex marked = m_model->index(mark, 0);
    if (marked.isValid() && marked != currentIndex()) {
        selectionModel()->setCurrentIndex(marked, QItemSelectionModel::NoUpdate);
        scrollTo(marked);
    }
    m_mark = QPersistentModelIndex(marked);
    m_settingSelection = false;
}

void QtPictureGrid::SetRedraw(bool on) {
    setUpdatesEnabled(on);
    if (on) viewport()->update();
}

void QtPictureGrid::keyPressEvent(QKeyEvent* event) {
    const ItemKey key = HandedOn(*event);
    if (key == ItemKey::None) {
        QListView::keyPressEvent(event);
        return;
    }
    event->accept();
    emit keyHandedOn(key);
}

void QtPictureGrid::wheelEvent(QWheelEvent* event) {
    if ((event->modifiers() & Qt::ControlModifier) == 0) {
        QListView::wheelEvent(event);
        return;
    }
    event->accept();
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) emit zoomAsked(steps);
}

void QtPictureGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid()) return;
    // What it opens replaces the tiles: not while the button is down over one of them.
    QMetaObject::invokeMethod(
        this, [this, row = index.row()] { emit tileDoubleClicked(row); }, Qt::QueuedConnection);
}

// Tiles of this grid are dropped where the line shows; files of this machine anywhere.
void QtPictureGrid::dragEnterEvent(QDragEnterEvent* event) {
    QListView::dragEnterEvent(event);
    if (!AcceptsDrag(*event->mimeData())) return;
    event->acceptProposedAction();
    m_dropPlace = DropPlace(event->position().toPoint());
    viewport()->update();
}

void QtPictureGrid::dragMoveEvent(QDragMoveEvent* event) {
    QListView::dragMoveEvent(event);
    if (!AcceptsDrag(*event->mimeData())) return;
    event->acceptProposedAction();
    const int place = DropPlace(event->position().toPoint());
    if (place != m_dropPlace) {
        m_dropPlace = place;
        viewport()->update();
    }
}

void QtPictureGrid::dragLeaveEvent(QDragLeaveEvent* event) {
    QListView::dragLeaveEvent(event);
    m_dropPlace = -1;
    viewport()->update();
}

// The rows' owner moves the tiles; the drag is then told it was a copy, so that the view does not
// go on to take them out of their old places as well.
void QtPictureGrid::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    setState(NoState);
    m_dropPlace = -1;
    viewport()->update();
    const QMimeData& carried = *event->mimeData();
    const int place = DropPlace(event->position().toPoint());
    if (m_model->IsOwnDrag(carried)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        emit tilesDragged(place);
    } else if (CarriesLocalFiles(carried)) {
        event->acceptProposedAction();
        QMetaObject::invokeMethod(
            this, [this, paths = LocalPaths(carried), place] { emit filesDropped(paths, place); },
            Qt::QueuedConnection);
    }
}

void QtPictureGrid::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    if (m_dropPlace < 0) return;
    QPainter painter(viewport());
    painter.fillRect(DropLine(m_dropPlace), palette().color(QPalette::Highlight));
}

void QtPictureGrid::scrollContentsBy(int dx, int dy) {
    QListView::scrollContentsBy(dx, dy);
    TellShowingSoon();
}

void QtPictureGrid::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    TellShowingSoon();
}

// The mark is the tile the user went to last, while it is selected; else the first they added.
void QtPictureGrid::UserSelected(const QItemSelection& selected) {
    if (m_settingSelection) return;
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel()->isSelected(current)) {
        m_mark = QPersistentModelIndex(current);
    } else if (!selected.isEmpty()) {
        m_mark = QPersistentModelIndex(m_model->index(selected.first().top(), 0));
    }
    emit selectionMoved();
}

bool QtPictureGrid::AcceptsDrag(const QMimeData& carried) const {
    return m_model->IsOwnDrag(carried) || CarriesLocalFiles(carried);
}

// The tile a drop at `position` goes before: the left half of a tile means before it, the right
// half after it; the space after a line's last tile, after that tile; below the tiles, the end.
int QtPictureGrid::DropPlace(QPoint position) const {
    const int width = std::max(gridSize().width(), 1);
    for (QPoint at = position; at.x() >= 0; at.rx() -= width) {
        const QModelIndex index = indexAt(at);
        if (!index.isValid()) continue;
        if (at != position) return index.row() + 1;
        return position.x() < visualRect(index).center().x() ? index.row() : index.row() + 1;
    }
    return m_model->rowCount();
}

QRect QtPictureGrid::DropLine(int place) const {
    const int count = m_model->rowCount();
    if (count == 0) return {};
    const bool atEnd = place >= count;
    const QRect tile = visualRect(m_model->index(atEnd ? count - 1 : place, 0));
    const int x = atEnd ? tile.right() - 1 : tile.left() - 1;
    return {x, tile.top(), 3, tile.height()};
}

void QtPictureGrid::TellShowingSoon() { m_showing.start(); }

// Lines of tiles of one size, as many to a line as the width holds, from the line at the top of
// the view to the one cut at its bottom.
void QtPictureGrid::TellShowing() {
    const int count = m_model->rowCount();
    if (count == 0) return;
    const QSize cell(std::max(gridSize().width(), 1), std::max(gridSize().height(), 1));
    const int perLine = std::max(viewport()->width() / cell.width(), 1);
    const int lines = viewport()->height() / cell.height() + 2;
    const QModelIndex top = indexAt(QPoint(cell.width() / 2, 1));
    const int first = top.isValid() ? top.row() - top.row() % perLine : 0;
    if (m_tiles.Showing(first, std::min(first + lines * perLine - 1, count - 1))) m_showing.start();
}

}  // namespace vistello
