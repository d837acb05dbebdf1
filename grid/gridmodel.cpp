#include "grid/gridmodel.h"

#include "platform/sjis.h"

#include <algorithm>

namespace kelvari {

GridModel::GridModel(CellStore &store, QObject *parent)
    : QAbstractTableModel(parent), m_store(store) {}

int GridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : std::max(0, m_store.rowCount() - m_fixedRows);
}

int GridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : std::max(0, m_store.colCount() - m_fixedCols);
}

QVariant GridModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return sjis::decode(m_store.cellView(gridCol(index), gridRow(index)));
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0)
        return {};
    // Several header rows (columns) are shown joined into one header line.
    QString text;
    if (orientation == Qt::Horizontal) {
        if (section >= columnCount())
            return {};
        for (int row = 0; row < m_fixedRows; ++row) {
            if (row > 0)
                text += QLatin1Char('\n');
            text += sjis::decode(m_store.cellView(section + m_fixedCols, row));
        }
    } else {
        if (section >= rowCount())
            return {};
        for (int col = 0; col < m_fixedCols; ++col) {
            if (col > 0)
                text += QLatin1Char(' ');
            text += sjis::decode(m_store.cellView(col, section + m_fixedRows));
        }
    }
    return text;
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QModelIndex GridModel::indexOf(int col, int row) const {
    const int r = row - m_fixedRows;
    const int c = col - m_fixedCols;
    if (r < 0 || c < 0 || r >= rowCount() || c >= columnCount())
        return {};
    return index(r, c);
}

void GridModel::beginReset() {
    beginResetModel();
}

void GridModel::endReset(int fixedRows, int fixedCols) {
    m_fixedRows = fixedRows;
    m_fixedCols = fixedCols;
    endResetModel();
}

void GridModel::beginInsertGridRows(int first, int last) {
    beginInsertRows({}, first - m_fixedRows, last - m_fixedRows);
}
void GridModel::endInsertGridRows() {
    endInsertRows();
}

void GridModel::beginRemoveGridRows(int first, int last) {
    beginRemoveRows({}, first - m_fixedRows, last - m_fixedRows);
}
void GridModel::endRemoveGridRows() {
    endRemoveRows();
}

void GridModel::beginInsertGridCols(int first, int last) {
    beginInsertColumns({}, first - m_fixedCols, last - m_fixedCols);
}
void GridModel::endInsertGridCols() {
    endInsertColumns();
}

void GridModel::beginRemoveGridCols(int first, int last) {
    beginRemoveColumns({}, first - m_fixedCols, last - m_fixedCols);
}
void GridModel::endRemoveGridCols() {
    endRemoveColumns();
}

void GridModel::gridCellsChanged(int left, int top, int right, int bottom) {
    const int rows = rowCount();
    const int cols = columnCount();
    if (rows == 0 || cols == 0)
        return;
    const int viewTop = std::max(top - m_fixedRows, 0);
    const int viewBottom = std::min(bottom - m_fixedRows, rows - 1);
    const int viewLeft = std::max(left - m_fixedCols, 0);
    const int viewRight = std::min(right - m_fixedCols, cols - 1);
    if (viewTop <= viewBottom && viewLeft <= viewRight)
        emit dataChanged(index(viewTop, viewLeft), index(viewBottom, viewRight),
                         {Qt::DisplayRole, Qt::EditRole});
    // Header rows appear in the horizontal header, header columns in the vertical one.
    if (top < m_fixedRows && viewLeft <= viewRight)
        emit headerDataChanged(Qt::Horizontal, viewLeft, viewRight);
    if (left < m_fixedCols && viewTop <= viewBottom)
        emit headerDataChanged(Qt::Vertical, viewTop, viewBottom);
}

} // namespace kelvari
