#pragma once
// The Edit menu's row commands of the main window (cut, copy, paste, insert and
// delete a row, one-step undo), the part-of-speech list that follows the current
// row and writes into it, the window width that follows dragged columns, the grid
// font, and the row-number column that widens for long numbers. The main window
// forwards its handlers here.

#include "app/undostate.h"

#include <QHash>
#include <QList>
#include <QObject>

class QAbstractButton;
class QAction;
class QButtonGroup;
class QKeyEvent;
class QLineEdit;
class QWidget;

namespace kelvari {

class Dialogs;
class TmStrGrid;
struct MainWindowState;

class EditingCommands : public QObject {
    Q_OBJECT
public:
    struct Parts {
        MainWindowState &state;
        TmStrGrid &sgJisho;
        QWidget &window;
        QLineEdit &edtComment;
        QButtonGroup &rgHinsi; // the 41 names, ids 0 to 40
        QAction &mmUndo;
        QAbstractButton &sbUndo;
        QAction &mmPaste;
        // The row commands whose shortcuts reach them also from a cell's editor.
        QList<QAction *> rowCommands;
        Dialogs &dialogs;
    };

    explicit EditingCommands(Parts parts, QObject *parent = nullptr);
    ~EditingCommands() override;

    // Handlers.
    void mmUndoClick();
    void mmCutClick();
    void mmCopyClick();
    void mmPasteClick();
    void mmAddClick();
    void mmDeleteClick();
    void mmEditClick();
    void mmFontClick();
    void rgHinsiClick();
    void sgJishoClick();
    void sgJishoGetEditText();

    // The current row into the snapshot; enables undo.
    void SaveUndo();
    // The snapshot's texts into its row, wherever that row now stands; disables undo.
    void RestoreUndo();
    // Row numbers 1, 2, … in column 0, from `firstRow` on.
    void RenumberRows(int firstRow = 1);

    UndoState &undo() { return m_undo; }
    const UndoState &undo() const { return m_undo; }

    // Column 0 as wide as its largest row number needs, and never below the
    // width it was last given from outside (the design width, the font's).
    void fitNumberColumn();
    // The width a header cell needs to show `number` unclipped in the grid's font.
    int numberColumnWidthFor(int number) const;

private:
    RowTexts rowTexts(int row) const;
    void writeRow(int row, const RowTexts &texts);
    void showUndoState();
    bool isRowCommandKey(const QKeyEvent &event) const;
    bool eventFilter(QObject *watched, QEvent *event) override;

    Parts m;
    UndoState m_undo;
    QHash<QByteArray, int> m_hinsiIndex; // part-of-speech name (CP932) -> item
    int m_numberColumnBase = -1;
    int m_numberColumnFitted = -1;
    int m_numberColumnRows = -1;
};

} // namespace kelvari
