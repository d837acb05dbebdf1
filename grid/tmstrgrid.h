#pragma once
// The word grid: a table of CP932 text cells with header rows at the top and
// header columns at the left, in-place editing, column sizing and row and column
// moving, extended with row/column insertion and deletion, whole-line rewriting,
// dropped files, clipboard shortcuts and the header-click mode.
//
// The cells live in a CellStore; header rows and columns are cells of the store
// shown as the view's headers (one header line each: several header rows or
// columns are joined into it). Indexes are grid coordinates: (column, row) from 0,
// headers included.

#include "grid/cellstore.h"
#include "grid/gridsort.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QRect>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kelvari {

class Dialogs;
class GridModel;
class GridDelegate;

class TmStrGrid : public QTableView {
    Q_OBJECT
public:
    explicit TmStrGrid(QWidget *parent = nullptr);
    ~TmStrGrid() override;

    // --- the base grid ---
    int ColCount() const;
    void SetColCount(int count);
    int RowCount() const;
    void SetRowCount(int count);
    // Range error ("Grid index out of range") for a negative value or one not
    // below the count; an accepted change puts the current cell, the selection and
    // the scroll position on the first non-header cell.
    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int count);
    int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int count);

    // Cells outside the counts can be read and written; they are not shown.
    QByteArray Cells(int col, int row) const;
    void SetCells(int col, int row, const QByteArray &text);

    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int height);

    // The current cell; moving it raises OnSelectCell and OnClick.
    int Col() const { return m_col; }
    void SetCol(int col);
    int Row() const { return m_row; }
    void SetRow(int row);
    // Between the selection anchor and the current cell: left(), top(), right(), bottom().
    QRect Selection() const;
    // Anchor at the top-left, current cell at the bottom-right; raises no events.
    void SetSelection(int left, int top, int right, int bottom);
    bool EditorMode() const;

    CellStore &cells() { return m_store; }
    const CellStore &cells() const { return m_store; }
    // Direct CellStore changes go inside a bulk change: the outermost one
    // commits and closes an open editor when it starts, and when it ends the
    // counts are re-read and the view is reset once. Bulk changes nest.
    //   {
    //       const auto bulk = grid.bulkChange();
    //       grid.cells().setRowCount(n); ...
    //   } // the view shows the new cells from here
    class [[nodiscard]] BulkChange {
    public:
        explicit BulkChange(TmStrGrid &grid) : m_grid(grid) { m_grid.beginBulkChange(); }
        // Also when an exception leaves the scope: the grid takes changes again.
        ~BulkChange() { m_grid.endBulkChange(); }
        BulkChange(const BulkChange &) = delete;
        BulkChange &operator=(const BulkChange &) = delete;

    private:
        TmStrGrid &m_grid;
    };
    [[nodiscard]] BulkChange bulkChange() { return BulkChange(*this); }
    // The two ends of a bulk change, for a change that cannot sit in one scope;
    // every begin needs its end, also on an exception. Prefer bulkChange().
    void beginBulkChange();
    void endBulkChange();
    // After direct CellStore writes outside a bulk change: shows the cells of the
    // rectangle anew, without the reset that a bulk change costs.
    void notifyCellsChanged(int left, int top, int right, int bottom);
    // Puts the text of an open cell editor into its cell now; `close` also closes
    // the editor (before a command rewrites the cell under it).
    void commitEditor(bool close);
    // Where an edit holding characters CP932 cannot hold is reported.
    void setDialogs(Dialogs *dialogs) { m_dialogs = dialogs; }

    // --- rows and columns ---
    void InsertRows(int index, int count);
    void InsertCols(int index, int count);
    void DeleteRows(int index, int count);
    void DeleteCols(int index, int count);
    // Splits `text` at `separator` into the cells of the row (column) from column
    // (row) 0 on; returns the number of cells written.
    int ModifyRow(int row, const QByteArray &text, const QByteArray &separator);
    int ModifyCol(int col, const QByteArray &text, const QByteArray &separator);
    void AddRow(const QByteArray &text, char separator);
    void AddCol(const QByteArray &text, char separator);

    // --- clipboard: the selection as tab-separated lines ---
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    // The clipboard format that keeps the cells' bytes exactly.
    static QString cp932MimeType();
    // Puts CP932 bytes on the clipboard: as text, and in the format above so
    // that a paste here takes them back exactly, also bytes that do not decode.
    static void putOnClipboard(const QByteArray &cp932);
    // The clipboard as CP932: our own bytes exactly, else its text encoded, a
    // line break at its end dropped. `unmappable` holds the characters that
    // Shift-JIS cannot hold (and `bytes` is empty then). None: no text at all.
    struct ClipboardBytes {
        QByteArray bytes;
        QString unmappable;
    };
    static std::optional<ClipboardBytes> readClipboard();
    // "「…」はShift-JISで表せない文字のため<action>できません。"
    static QString unmappableMessage(const QString &characters, const QString &action);

    // --- the control's own properties ---
    bool KeepFiles() const { return m_keepFiles; }
    void SetKeepFiles(bool keep) { m_keepFiles = keep; }
    bool EnableClipboardShortcuts() const { return m_enableClipboardShortcuts; }
    void SetEnableClipboardShortcuts(bool enable) { m_enableClipboardShortcuts = enable; }
    bool PasteToCursor() const { return m_pasteToCursor; }
    void SetPasteToCursor(bool toCursor) { m_pasteToCursor = toCursor; }
    bool ClickFixed() const { return m_clickFixed; }
    void SetClickFixed(bool clickFixed) { m_clickFixed = clickFixed; }
    // The header counts saved by a header-cell press while it lasts, else the
    // current ones. Writing stores the saved count only.
    int SavedFixedRows() const { return m_headerClick ? m_savedFixedRows : m_fixedRows; }
    void SetSavedFixedRows(int count) { m_savedFixedRows = count; }
    int SavedFixedCols() const { return m_headerClick ? m_savedFixedCols : m_fixedCols; }
    void SetSavedFixedCols(int count) { m_savedFixedCols = count; }
    QStringList &DroppedFiles() { return m_droppedFiles; }

    // --- sorting, searching and the grid file ---
    // The key settings of sorts and searches: one SortSettings value, which
    // SortIndex reads too.
    TMSortType KeyType() const { return m_sorter.KeyType(); }
    void SetKeyType(TMSortType type) { m_sorter.setKeyType(type); }
    int KeyPos() const { return m_sorter.KeyPos(); }
    void SetKeyPos(int pos) { m_sorter.setKeyPos(pos); }
    int KeyLen() const { return m_sorter.KeyLen(); }
    void SetKeyLen(int len) { m_sorter.setKeyLen(len); }
    HandleFixed UseFixed() const { return m_sorter.UseFixed(); }
    void SetUseFixed(HandleFixed mode) { m_sorter.setUseFixed(mode); }
    bool SortDescending() const { return m_sorter.SortDescending(); }
    void SetSortDescending(bool descending) { m_sorter.setSortDescending(descending); }
    // A format that cannot be read raises E_Format_Invalid after it has been stored.
    const QByteArray &DateTimeFormat() const { return m_sorter.DateTimeFormat(); }
    void SetDateTimeFormat(QByteArrayView format) { m_sorter.setDateTimeFormat(format); }
    bool ShortYearExpand() const { return m_sorter.ShortYearExpand(); }
    void SetShortYearExpand(bool expand) { m_sorter.setShortYearExpand(expand); }
    int ShortYearBorder() const { return m_sorter.ShortYearBorder(); }
    void SetShortYearBorder(int border) { m_sorter.setShortYearBorder(border); }
    // Between sorts: the order that undoes the last one.
    const TmStrList &SortIndex() const { return m_sorter.SortIndex(); }

    const QByteArray &SearchKey() const { return m_sorter.SearchKey(); }
    void SetSearchKey(QByteArrayView key) { m_sorter.setSearchKey(key); }
    bool SearchSubstring() const { return m_sorter.SearchSubstring(); }
    void SetSearchSubstring(bool substring) { m_sorter.setSearchSubstring(substring); }
    bool ReverseSearch() const { return m_sorter.ReverseSearch(); }
    // Turns a running search around, or restarts a finished one from the other end.
    void SetReverseSearch(bool reverse);
    bool SearchExists() const { return m_sorter.SearchExists(); }

    // The sorts read the header counts from SavedFixedRows/SavedFixedCols, so a
    // handler of a header-cell press sorts as if the headers were in place. A sort
    // that fails (E_Format_Invalid) leaves the cells as they were.
    void SortCompleteRows(int ACol);
    void SortCompleteColumns(int ARow);
    void SortCol(int ACol);
    void SortRow(int ARow);
    void SortAllRows();
    void SortAllCols();
    void UndoSort();

    // No match: false with col = row = -1. The current cell does not move.
    bool FindFirst(QByteArrayView key, bool rowWise, int &col, int &row);
    bool FindFirstInRow(QByteArrayView key, int ARow, int &col, int &row);
    bool FindFirstInCol(QByteArrayView key, int ACol, int &col, int &row);
    bool FindNext(int &col, int &row);

    // Every row from 0, its cells from column 0 joined by `separator`, CR LF after
    // each; IoError when the file cannot be written (the old file then stays).
    void SaveToFile(const QString &fileName, QByteArrayView separator) const;
    // MFileError when the file cannot be opened; a failed load changes nothing.
    // The header counts are lowered below the counts the file gives.
    void LoadFromFile(const QString &fileName, QByteArrayView separator);

    // --- events; unassigned ones are not raised ---
    // x, y: the drop point in client coordinates (the grid without its frame,
    // headers included); inClient: the point lies in the client area.
    std::function<void(TmStrGrid &sender, int x, int y, bool inClient)> OnDropFiles;
    std::function<void(TmStrGrid &sender)> OnClick;
    std::function<void(TmStrGrid &sender)> OnDblClick;
    std::function<void(TmStrGrid &sender, int col, int row, bool &canSelect)> OnSelectCell;
    // Set the key to a null QChar to swallow it.
    std::function<void(TmStrGrid &sender, QChar &key)> OnKeyPress;
    std::function<void(TmStrGrid &sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                       int x, int y)>
        OnMouseDown;
    std::function<void(TmStrGrid &sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                       int x, int y)>
        OnMouseUp;
    // Before the in-place editor shows a cell; may change the text it shows.
    std::function<void(TmStrGrid &sender, int col, int row, QByteArray &text)> OnGetEditText;
    // After an in-place edit changed a cell.
    std::function<void(TmStrGrid &sender, int col, int row, const QByteArray &text)> OnSetEditText;

signals:
    // Cell texts or counts changed.
    void cellsChanged();
    // Rows changed place, in grid rows: for whoever keeps a row by its index.
    // A bulk change reports nothing but gridRowsReplaced at its end.
    void gridRowsInserted(int index, int count);
    void gridRowsDeleted(int index, int count);
    void gridRowMoved(int from, int to);
    void gridRowsReplaced();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    friend class GridDelegate;

    // The in-place editor's side.
    QString editTextFor(const QModelIndex &index);
    void commitEditText(const QModelIndex &index, const QString &text, const QString &shown);
    // A key typed into the editor; returns true when it is swallowed.
    bool editorKeyPress(QWidget *editor, QKeyEvent *event);

    // Shared press/release handling of the viewport and the headers; `source`
    // is the widget the event arrived at.
    bool handlePress(QWidget *source, QMouseEvent *event);
    void handleRelease(QWidget *source, QMouseEvent *event);
    void handleDoubleClick(QWidget *source, QMouseEvent *event);
    void headerClick(int col, int row);
    // The grid cell under a point of a header's viewport (-1, -1 when none).
    QPoint headerCellAt(QWidget *headerViewport, const QPoint &pos) const;
    bool onHeaderBorder(QWidget *headerViewport, const QPoint &pos) const;
    QPoint clientPos(QWidget *source, const QPoint &pos) const;
    bool inClientArea(const QPoint &client) const;
    void raiseMouse(const std::function<void(TmStrGrid &, Qt::MouseButton, Qt::KeyboardModifiers,
                                             int, int)> &handler,
                    QWidget *source, QMouseEvent *event);
    QChar keyChar(const QKeyEvent *event) const;
    bool clipboardShortcut(QChar key);
    // A drop on the grid or on one of its headers (`source`).
    void handleDrop(QWidget *source, QDropEvent *event);

    // The header counts the sorts and searches work with.
    GridShape sortShape() const { return GridShape{SavedFixedRows(), SavedFixedCols()}; }

    bool askSelect(int col, int row);
    void moveCurrent(int col, int row, bool moveAnchor);
    void extendSelection(int col, int row);
    void clampCursor();
    void putCursorOnFirstCell();

    // Keeps the view in step with the grid state.
    void syncView();
    void syncCurrent(bool scroll);
    void applyGeometry();
    void resetView();
    bool inBulk() const { return m_bulkDepth > 0; }
    // The header counts the view is to show (during a header click it keeps its own).
    int viewFixedRows() const;
    int viewFixedCols() const;
    enum class Shape { InsertRows, RemoveRows, InsertCols, RemoveCols, Reset };
    // Runs a change of the store's shape with the view told about it; first and
    // last are the grid rows or columns inserted or removed.
    void reshape(Shape shape, int first, int last, const std::function<void()> &change);
    // Lowers the header counts below the row and column counts.
    bool fitFixedToCounts();
    void changed(int left, int top, int right, int bottom);
    void headerSectionMoved(Qt::Orientation orientation, int logical, int oldVisual, int newVisual);
    void columnResized(int logical, int oldSize, int newSize);
    QByteArray selectionText() const;
    void pasteBytes(const QByteArray &text);
    void refuseUnmappable(const QString &characters, const QString &action);

    CellStore m_store;
    std::unique_ptr<GridModel> m_model;
    std::unique_ptr<GridDelegate> m_delegate;
    Dialogs *m_dialogs = nullptr;

    int m_fixedRows = 1;
    int m_fixedCols = 1;
    int m_col = 1;
    int m_row = 1;
    // The other corner of the selection; it follows Shift+arrows and mouse drags.
    int m_anchorCol = 1;
    int m_anchorRow = 1;
    std::vector<int> m_colWidths;
    int m_defaultRowHeight = 24;

    bool m_keepFiles = true;
    bool m_enableClipboardShortcuts = false;
    bool m_pasteToCursor = false;
    bool m_clickFixed = false;
    bool m_headerClick = false;
    int m_savedFixedRows = 0;
    int m_savedFixedCols = 0;
    QStringList m_droppedFiles;
    GridSorter m_sorter;

    int m_bulkDepth = 0;
    int m_holdView = 0;     // a header-click sequence is running: the view waits
    bool m_syncing = false; // the grid itself moves the view's current index
    bool m_selecting = false;
    bool m_committing = false;
    bool m_forwarding = false;
    bool m_applyingGeometry = false;
    bool m_restoringSections = false;
    bool m_scrollHome = false;
};

} // namespace kelvari
