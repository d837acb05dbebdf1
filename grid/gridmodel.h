#pragma once
// The item model behind TmStrGrid: the non-header cells of a CellStore as items,
// the header rows and columns as header data. Grid (column, row) = (view column
// + fixed columns, view row + fixed rows). Texts are decoded only when a cell is
// shown, so scrolling a million-row grid costs nothing per row.

#include "grid/cellstore.h"

#include <QAbstractTableModel>

namespace kelvari {

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(CellStore &store, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The header counts the model shows; changed only inside a reset.
    int fixedRows() const { return m_fixedRows; }
    int fixedCols() const { return m_fixedCols; }

    // Grid coordinates of an item, and the item of a grid cell (invalid for a
    // header cell or a cell outside the counts).
    int gridCol(const QModelIndex &index) const { return index.column() + m_fixedCols; }
    int gridRow(const QModelIndex &index) const { return index.row() + m_fixedRows; }
    QModelIndex indexOf(int col, int row) const;

    // Change notifications for the grid, in grid coordinates.
    void beginReset();
    void endReset(int fixedRows, int fixedCols);
    void beginInsertGridRows(int first, int last);
    void endInsertGridRows();
    void beginRemoveGridRows(int first, int last);
    void endRemoveGridRows();
    void beginInsertGridCols(int first, int last);
    void endInsertGridCols();
    void beginRemoveGridCols(int first, int last);
    void endRemoveGridCols();
    // Cells in [left, right] x [top, bottom] changed, headers included.
    void gridCellsChanged(int left, int top, int right, int bottom);

private:
    CellStore &m_store;
    int m_fixedRows = 1;
    int m_fixedCols = 1;
};

} // namespace kelvari
