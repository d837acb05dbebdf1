#include "app/editingcommands.h"

#include "app/rowtext.h"
#include "document/dataline.h"
#include "document/mainwindowstate.h"
#include "document/wordlist.h"
#include "grid/tmstrgrid.h"
#include "platform/dialogs.h"
#include "platform/sjis.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QStyle>
#include <QStyleOptionHeader>

namespace kelvari {

EditingCommands::EditingCommands(Parts parts, QObject *parent) : QObject(parent), m(parts) {
    for (QAbstractButton *button : m.rgHinsi.buttons())
        m_hinsiIndex.insert(sj(button->text()), m.rgHinsi.id(button));

    // The snapshot's row follows the rows wherever the grid moves them.
    TmStrGrid &grid = m.sgJisho;
    connect(&grid, &TmStrGrid::gridRowsInserted, this,
            [this](int index, int count) { m_undo.rowsInserted(index, count); });
    connect(&grid, &TmStrGrid::gridRowsDeleted, this,
            [this](int index, int count) { m_undo.rowsRemoved(index, count); });
    connect(&grid, &TmStrGrid::gridRowMoved, this,
            [this](int from, int to) { m_undo.rowMoved(from, to); });
    // A load, a new document: the snapshot belongs to rows that are gone.
    connect(&grid, &TmStrGrid::gridRowsReplaced, this, [this] {
        m_undo.clear();
        showUndoState();
    });
    connect(&grid, &TmStrGrid::cellsChanged, this, [this] {
        if (m.sgJisho.RowCount() != m_numberColumnRows)
            fitNumberColumn();
    });

    // The row commands' shortcuts win over the grid's and its cell editor's own
    // clipboard and undo keys.
    grid.installEventFilter(this);
    grid.viewport()->installEventFilter(this);
}

EditingCommands::~EditingCommands() = default;

RowTexts EditingCommands::rowTexts(int row) const {
    const TmStrGrid &grid = m.sgJisho;
    return RowTexts{grid.Cells(1, row), grid.Cells(2, row), grid.Cells(3, row)};
}

void EditingCommands::writeRow(int row, const RowTexts &texts) {
    TmStrGrid &grid = m.sgJisho;
    grid.SetCells(1, row, texts.reading);
    grid.SetCells(2, row, texts.word);
    grid.SetCells(3, row, texts.partOfSpeech);
}

void EditingCommands::showUndoState() {
    m.mmUndo.setEnabled(m_undo.enabled());
    m.sbUndo.setEnabled(m_undo.enabled());
}

// ------------------------------------------------------------------ undo

void EditingCommands::SaveUndo() {
    const int row = m.sgJisho.Row();
    m_undo.save(row, rowTexts(row));
    showUndoState();
}

void EditingCommands::RestoreUndo() {
    const UndoState::Step step = m_undo.takeStep();
    TmStrGrid &grid = m.sgJisho;
    switch (step.kind) {
    case UndoState::Step::Kind::Nothing:
        break;
    case UndoState::Step::Kind::Reinsert:
        if (step.row <= grid.RowCount()) {
            grid.InsertRows(step.row, 1);
            RenumberRows(step.row);
            writeRow(step.row, step.texts);
        }
        break;
    case UndoState::Step::Kind::Rewrite:
        if (step.row < grid.RowCount())
            writeRow(step.row, step.texts);
        break;
    }
    showUndoState();
}

void EditingCommands::RenumberRows(int firstRow) {
    TmStrGrid &grid = m.sgJisho;
    // Straight into the cell store and shown once: a million rows are renumbered
    // after every insertion and deletion.
    const int last = numberRows(grid.cells(), firstRow);
    if (last > 0)
        grid.notifyCellsChanged(0, firstRow, 0, last);
}

void EditingCommands::mmUndoClick() {
    m.sgJisho.commitEditor(true);
    RestoreUndo();
    sgJishoClick();
}

// ------------------------------------------------------------- clipboard

void EditingCommands::mmCopyClick() {
    // What was typed into an open editor is part of the row; typing goes on.
    m.sgJisho.commitEditor(false);
    const RowTexts texts = rowTexts(m.sgJisho.Row());
    if (texts.isEmpty())
        return;
    TmStrGrid::putOnClipboard(clipboardRowText(texts));
    m_undo.setRowDeleted(false);
}

void EditingCommands::mmCutClick() {
    // The editor closes: its text must not come back over the emptied cell.
    m.sgJisho.commitEditor(true);
    mmCopyClick();
    SaveUndo();
    writeRow(m.sgJisho.Row(), RowTexts{});
    sgJishoClick();
}

void EditingCommands::mmPasteClick() {
    m.sgJisho.commitEditor(true);
    const std::optional<TmStrGrid::ClipboardBytes> clip = TmStrGrid::readClipboard();
    if (!clip) {
        m_undo.setRowDeleted(false);
        return;
    }
    if (!clip->unmappable.isEmpty()) {
        // Nothing is pasted rather than a character silently replaced.
        m.dialogs.error(&m.window,
                        TmStrGrid::unmappableMessage(clip->unmappable, QStringLiteral("貼り付け")));
        return;
    }
    SaveUndo();
    const DataLineFields fields = ParseDataLine(pastedLine(clip->bytes));
    writeRow(m.sgJisho.Row(), RowTexts{fields.reading.toByteArray(), fields.word.toByteArray(),
                                       fields.partOfSpeech.toByteArray()});
    m_undo.setRowDeleted(false);
    sgJishoClick();
}

void EditingCommands::mmEditClick() {
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    m.mmPaste.setEnabled(mime && mime->hasText());
}

// ------------------------------------------------------------------ rows

void EditingCommands::mmAddClick() {
    TmStrGrid &grid = m.sgJisho;
    grid.commitEditor(true);
    const int row = grid.Row();
    if (row < 1 || row >= grid.RowCount())
        return;
    grid.InsertRows(row, 1);
    RenumberRows(row);
    m_undo.setEnabled(true);
    showUndoState();
    sgJishoClick();
}

void EditingCommands::mmDeleteClick() {
    TmStrGrid &grid = m.sgJisho;
    grid.commitEditor(true);
    const int row = grid.Row();
    if (row < 1 || row >= grid.RowCount())
        return;
    SaveUndo();
    // The last data row gives way to an empty one: the title row stays a title
    // row and the table keeps a row to type into.
    if (grid.RowCount() <= 2)
        grid.SetRowCount(grid.RowCount() + 1);
    grid.DeleteRows(row, 1);
    RenumberRows(row);
    m_undo.setRowDeleted(true);
    sgJishoClick();
}

// ------------------------------------------------------- part of speech

void EditingCommands::rgHinsiClick() {
    QAbstractButton *picked = m.rgHinsi.checkedButton();
    TmStrGrid &grid = m.sgJisho;
    if (picked && grid.Row() >= 1)
        grid.SetCells(3, grid.Row(), sj(picked->text()));
    if (m.state.WindowActivated)
        grid.setFocus(Qt::OtherFocusReason);
}

void EditingCommands::sgJishoClick() {
    const TmStrGrid &grid = m.sgJisho;
    const int index = m_hinsiIndex.value(grid.Cells(3, grid.Row()), -1);
    if (index == m.rgHinsi.checkedId())
        return;
    // Set quietly: following the row is no pick, so nothing is written back.
    if (index >= 0) {
        m.rgHinsi.button(index)->setChecked(true);
    } else if (QAbstractButton *checked = m.rgHinsi.checkedButton()) {
        m.rgHinsi.setExclusive(false);
        checked->setChecked(false);
        m.rgHinsi.setExclusive(true);
    }
}

// ---------------------------------------------------------- the window

void EditingCommands::sgJishoGetEditText() {
    MainWindowState &state = m.state;
    if (state.FirstResizePending)
        return;
    TmStrGrid &grid = m.sgJisho;
    int difference = 0;
    for (int col = 1; col <= 3; ++col)
        difference += grid.ColWidths(col) - state.LastColWidths[static_cast<size_t>(col - 1)];
    for (int col = 1; col <= 3; ++col)
        state.LastColWidths[static_cast<size_t>(col - 1)] = grid.ColWidths(col);
    // Without a difference the window gets no resize event that would use the
    // flag up; the next resize by the user would then be skipped.
    if (difference == 0)
        return;
    state.ColumnFollowPending = true;
    // The grid follows the window through the layout.
    m.window.resize(m.window.width() + difference, m.window.height());
    m.edtComment.resize(m.edtComment.width() + difference, m.edtComment.height());
}

void EditingCommands::mmFontClick() {
    TmStrGrid &grid = m.sgJisho;
    const std::optional<QFont> chosen = m.dialogs.chooseFont(&m.window, grid.font());
    if (!chosen)
        return;
    grid.setFont(*chosen);
    const QFontMetrics metrics = grid.fontMetrics();
    const int h = metrics.height();
    const int widest = metrics.maxWidth();
    grid.SetDefaultRowHeight(h + h / 2);
    grid.SetColWidths(0, 3 * widest + widest / 2);
    fitNumberColumn();
}

int EditingCommands::numberColumnWidthFor(int number) const {
    const QHeaderView *header = m.sgJisho.verticalHeader();
    QStyleOptionHeader option;
    option.initFrom(header);
    option.text = QString::number(number);
    option.fontMetrics = header->fontMetrics();
    return header->style()
        ->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header)
        .width();
}

void EditingCommands::fitNumberColumn() {
    TmStrGrid &grid = m.sgJisho;
    if (grid.ColCount() < 1)
        return;
    const int current = grid.ColWidths(0);
    // A width set from outside (the design width, the font command, the window
    // reset) is the least the column keeps.
    if (current != m_numberColumnFitted)
        m_numberColumnBase = current;
    m_numberColumnRows = grid.RowCount();
    const int needed = numberColumnWidthFor(std::max(1, grid.RowCount() - 1));
    m_numberColumnFitted = std::max(m_numberColumnBase, needed);
    if (m_numberColumnFitted != current)
        grid.SetColWidths(0, m_numberColumnFitted);
}

// ------------------------------------------------------------- shortcuts

bool EditingCommands::isRowCommandKey(const QKeyEvent &event) const {
    const QKeySequence pressed(
        QKeyCombination(event.modifiers() & ~Qt::KeypadModifier, Qt::Key(event.key())));
    for (const QAction *action : m.rowCommands) {
        for (const QKeySequence &shortcut : action->shortcuts()) {
            if (shortcut == pressed)
                return true;
        }
    }
    return false;
}

bool EditingCommands::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
        // The cell editor is a child of the grid's viewport.
        if (watched == m.sgJisho.viewport()) {
            QObject *child = static_cast<QChildEvent *>(event)->child();
            if (child->isWidgetType())
                child->installEventFilter(this);
        }
        break;
    case QEvent::ShortcutOverride:
        // Left unclaimed, the key goes to the window's shortcut: the row command.
        if (watched != m.sgJisho.viewport() && isRowCommandKey(*static_cast<QKeyEvent *>(event))) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::KeyPress:
        // A row command that is disabled swallows its key: the editor's own undo or
        // clipboard keys must not act in its place.
        if (watched != m.sgJisho.viewport() && isRowCommandKey(*static_cast<QKeyEvent *>(event))) {
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kelvari
