#include "qt/qt_tile_model.h"

#include <QCoreApplication>
#include <QMimeData>

#include "qt/qstring_bytes.h"

namespace vistello {

namespace {

const QString kTilesFormat = QStringLiteral("application/x-vistello-tiles");

QString BadgeWords(TileBadge badge) {
    switch (badge) {
        case TileBadge::Clip:
            return QStringLiteral("Clip");
        case TileBadge::Album:
            return QStringLiteral("Album");
        case TileBadge::PrivateAlbum:
            return QStringLiteral("Private album");
        case TileBadge::None:
            break;
    }
    return {};
}

// What a screen reader says after the title, and a hover shows under it.
QString Remarks(const TileLook& look) {
    QString remarks = BadgeWords(look.badge);
    if (!look.failure.empty()) {
        if (!remarks.isEmpty()) remarks += QStringLiteral(". ");
        remarks += ToQString(look.failure);
    }
    return remarks;
}

}  // namespace

QtTileModel::QtTileModel(TileSource& tiles, QObject* parent)
    : QAbstractListModel(parent), m_tiles(tiles) {}

void QtTileModel::SetSource(TableSource* source) {
    beginResetModel();
    m_source = source;
    endResetModel();
}

void QtTileModel::BeginInsertRows(int first, int count) {
    beginInsertRows(QModelIndex(), first, first + count - 1);
}

void QtTileModel::EndInsertRows() { endInsertRows(); }

void QtTileModel::BeginRemoveRows(int first, int count) {
    beginRemoveRows(QModelIndex(), first, first + count - 1);
}

void QtTileModel::EndRemoveRows() { endRemoveRows(); }

// Qt counts the destination as the row the moved one goes before, among the rows as they stand.
void QtTileModel::BeginMoveRow(int from, int to) {
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
}

void QtTileModel::EndMoveRow() { endMoveRows(); }

void QtTileModel::BeginResetRows() { beginResetModel(); }

void QtTileModel::EndResetRows() { endResetModel(); }

void QtTileModel::RowsChanged(int first, int last) {
    if (first <= last) emit dataChanged(index(first), index(last));
}

int QtTileModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || m_source == nullptr ? 0 : m_source->RowCount();
}

// Titles and failures come from files anyone may write: a hover shows them as text, never as
// markup.
QVariant QtTileModel::data(const QModelIndex& index, int role) const {
    if (m_source == nullptr || !index.isValid()) return {};
    const QString title = ToQString(m_source->Cell(index.row(), 0));
    switch (role) {
        case Qt::DisplayRole:
            return title;

        case Qt::AccessibleDescriptionRole:
            return Remarks(Look(index.row()));
        case Qt::ToolTipRole: {
            const QString remarks = Remarks(Look(index.row()));
            QString tip = QStringLiteral("<p>") + title.toHtmlEscaped();
            if (!remarks.isEmpty()) tip += QStringLiteral("<br>") + remarks.toHtmlEscaped();
            return tip + QStringLiteral("</p>");
        }
        default:
            return {};
    }
}

// Tiles are dropped between tiles, never onto one.
Qt::ItemFlags QtTileModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

Qt::DropActions QtTileModel::supportedDropActions() const { return Qt::MoveAction; }

QStringList QtTileModel::mimeTypes() const { return {kTilesFormat}; }

QMimeData* QtTileModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    data->setData(kTilesFormat, DragOrigin());
    return data;
}

bool QtTileModel::IsOwnDrag(const QMimeData& data) const {
    return data.data(kTilesFormat) == DragOrigin();
}

// Another window or another program may carry the same format; only this grid's own drags name
// this process and this grid.
QByteArray QtTileModel::DragOrigin() const {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(this));
}

}  // namespace vistello
