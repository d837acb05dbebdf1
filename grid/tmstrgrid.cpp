#include "grid/tmstrgrid.h"

#include "grid/griddelegate.h"
#include "grid/gridmodel.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/sjis.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>
#include <algorithm>
#include <limits>

namespace kelvari {
namespace {

constexpr int kDefaultColWidth = 64;
constexpr char16_t kCtrlC = 3;
constexpr char16_t kCtrlV = 22;
constexpr char16_t kCtrlX = 24;

[[noreturn]] void rangeError() {
    throw AppError(QStringLiteral("Grid index out of range"));
}

bool hasLocalFiles(const QMimeData *mime) {
    if (!mime || !mime->hasUrls())
        return false;
    const QList<QUrl> urls = mime->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
}

// Files from the desktop are the only drops the grid and its headers take.
// (A drag entering is a QDragMoveEvent too.)
void acceptFileDrag(QDragMoveEvent *event) {
    if (hasLocalFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

// The key event again, carrying the character OnKeyPress put in its place.
QKeyEvent withCharacter(const QKeyEvent &event, QChar key) {
    return QKeyEvent(event.type(), event.key(), event.modifiers(), QString(key),
                     event.isAutoRepeat(), static_cast<quint16>(event.count()));
}

// Lines end at CR LF, a lone CR or a lone LF; cells are separated by TAB. Shift-JIS
// second bytes are 0x40 and up, so these bytes never sit inside a character.
std::vector<std::vector<QByteArrayView>> splitBlock(QByteArrayView text) {
    std::vector<std::vector<QByteArrayView>> lines;
    qsizetype lineStart = 0;
    const qsizetype size = text.size();
    for (qsizetype pos = 0; pos <= size; ++pos) {
        const bool end = pos == size;
        if (!end && text[pos] != '\r' && text[pos] != '\n')
            continue;
        const QByteArrayView line = text.sliced(lineStart, pos - lineStart);
        std::vector<QByteArrayView> cells;
        qsizetype cellStart = 0;
        for (qsizetype i = 0; i <= line.size(); ++i) {
            if (i == line.size() || line[i] == '\t') {
                cells.push_back(line.sliced(cellStart, i - cellStart));
                cellStart = i + 1;
            }
        }
        lines.push_back(std::move(cells));
        if (end)
            break;
        if (text[pos] == '\r' && pos + 1 < size && text[pos + 1] == '\n')
            ++pos;
        lineStart = pos + 1;
    }
    return lines;
}

} // namespace

TmStrGrid::TmStrGrid(QWidget *parent)
    : QTableView(parent), m_store(5, 5), m_colWidths(5, kDefaultColWidth) {
    m_model = std::make_unique<GridModel>(m_store);
    m_delegate = std::make_unique<GridDelegate>(*this);
    setModel(m_model.get());
    setItemDelegate(m_delegate.get());

    // The grid keeps its own current cell and selection (the anchor moves, the
    // current cell stays where the press was); the view only shows them.
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setDragEnabled(false);
    setDropIndicatorShown(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);

    QHeaderView *columns = horizontalHeader();
    QHeaderView *rows = verticalHeader();
    for (QHeaderView *header : {columns, rows}) {
        header->setSectionsMovable(true);
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        header->setMinimumSectionSize(1);
        header->viewport()->installEventFilter(this);
        header->viewport()->setAcceptDrops(true);
    }
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(false);
    // Uniform row heights: nothing is measured per row, whatever the row count.
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_defaultRowHeight);

    connect(columns, &QHeaderView::sectionMoved, this, [this](int logical, int from, int to) {
        headerSectionMoved(Qt::Horizontal, logical, from, to);
    });
    connect(rows, &QHeaderView::sectionMoved, this, [this](int logical, int from, int to) {
        headerSectionMoved(Qt::Vertical, logical, from, to);
    });
    connect(columns, &QHeaderView::sectionResized, this, &TmStrGrid::columnResized);

    applyGeometry();
    syncCurrent(false);
}

TmStrGrid::~TmStrGrid() {
    // Taking the model away closes an open editor, which runs key and click
    // handling; the application's handlers may already be gone.
    OnDropFiles = nullptr;
    OnClick = nullptr;
    OnDblClick = nullptr;
    OnSelectCell = nullptr;
    OnKeyPress = nullptr;
    OnMouseDown = nullptr;
    OnMouseUp = nullptr;
    OnGetEditText = nullptr;
    OnSetEditText = nullptr;
    m_dialogs = nullptr;
    m_committing = true; // an editor closed now commits nothing
    horizontalHeader()->viewport()->removeEventFilter(this);
    verticalHeader()->viewport()->removeEventFilter(this);
    // The model and the delegate go before the view's base part.
    setModel(nullptr);
    setItemDelegate(nullptr);
}

// ------------------------------------------------------------------- counts

int TmStrGrid::ColCount() const {
    return m_store.colCount();
}
int TmStrGrid::RowCount() const {
    return m_store.rowCount();
}

void TmStrGrid::SetColCount(int count) {
    count = std::max(1, count);
    const int old = ColCount();
    if (count == old)
        return;
    const auto change = [&] { m_store.setColCount(count); };
    if (count > old)
        reshape(Shape::InsertCols, old, count - 1, change);
    else
        reshape(count <= viewFixedCols() ? Shape::Reset : Shape::RemoveCols, count, old - 1,
                change);
}

void TmStrGrid::SetRowCount(int count) {
    count = std::max(1, count);
    const int old = RowCount();
    if (count == old)
        return;
    const auto change = [&] { m_store.setRowCount(count); };
    if (count > old)
        reshape(Shape::InsertRows, old, count - 1, change);
    else
        reshape(count <= viewFixedRows() ? Shape::Reset : Shape::RemoveRows, count, old - 1,
                change);
    if (inBulk())
        return;
    if (count > old)
        emit gridRowsInserted(old, count - old);
    else
        emit gridRowsDeleted(count, old - count);
}

void TmStrGrid::SetFixedRows(int count) {
    if (count < 0 || count >= RowCount())
        rangeError();
    if (count == m_fixedRows)
        return;
    m_fixedRows = count;
    putCursorOnFirstCell();
    syncView();
}

void TmStrGrid::SetFixedCols(int count) {
    if (count < 0 || count >= ColCount())
        rangeError();
    if (count == m_fixedCols)
        return;
    m_fixedCols = count;
    putCursorOnFirstCell();
    syncView();
}

int TmStrGrid::viewFixedRows() const {
    return m_holdView ? std::min(m_model->fixedRows(), RowCount() - 1) : m_fixedRows;
}

int TmStrGrid::viewFixedCols() const {
    return m_holdView ? std::min(m_model->fixedCols(), ColCount() - 1) : m_fixedCols;
}

bool TmStrGrid::fitFixedToCounts() {
    bool lowered = false;
    if (m_fixedRows >= RowCount()) {
        m_fixedRows = RowCount() - 1;
        lowered = true;
    }
    if (m_fixedCols >= ColCount()) {
        m_fixedCols = ColCount() - 1;
        lowered = true;
    }
    if (lowered)
        putCursorOnFirstCell();
    return lowered;
}

// -------------------------------------------------------------------- cells

QByteArray TmStrGrid::Cells(int col, int row) const {
    return m_store.cell(col, row);
}

void TmStrGrid::SetCells(int col, int row, const QByteArray &text) {
    if (col < 0 || row < 0)
        rangeError();
    m_store.setCell(col, row, text);
    changed(col, row, col, row);
}

void TmStrGrid::changed(int left, int top, int right, int bottom) {
    if (inBulk())
        return; // the reset at the end shows everything
    m_model->gridCellsChanged(left, top, right, bottom);
    emit cellsChanged();
}

int TmStrGrid::ColWidths(int col) const {
    if (col < 0 || static_cast<size_t>(col) >= m_colWidths.size())
        return kDefaultColWidth;
    return m_colWidths[static_cast<size_t>(col)];
}

void TmStrGrid::SetColWidths(int col, int width) {
    if (col < 0 || col >= ColCount())
        rangeError();
    m_colWidths.resize(static_cast<size_t>(ColCount()), kDefaultColWidth);
    m_colWidths[static_cast<size_t>(col)] = std::max(0, width);
    applyGeometry();
}

void TmStrGrid::SetDefaultRowHeight(int height) {
    height = std::max(1, height);
    if (height == m_defaultRowHeight)
        return;
    m_defaultRowHeight = height;
    verticalHeader()->setDefaultSectionSize(height);
    applyGeometry();
}

void TmStrGrid::beginBulkChange() {
    if (m_bulkDepth == 0) {
        // The reset closes an open editor without asking it for its text, so
        // what was typed goes into its cell first.
        commitEditor(true);
        m_model->beginReset();
    }
    ++m_bulkDepth;
}

void TmStrGrid::commitEditor(bool close) {
    if (state() != QAbstractItemView::EditingState)
        return;
    const QPointer<QWidget> editor = indexWidget(currentIndex());
    if (!editor)
        return;
    commitData(editor);
    // A refusal message may have run an event loop that took the editor away.
    if (close && editor)
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TmStrGrid::endBulkChange() {
    if (m_bulkDepth == 0 || --m_bulkDepth > 0)
        return;
    m_colWidths.resize(static_cast<size_t>(ColCount()), kDefaultColWidth);
    fitFixedToCounts();
    clampCursor();
    const bool wasSyncing = m_syncing;
    m_syncing = true;
    m_model->endReset(viewFixedRows(), viewFixedCols());
    m_syncing = wasSyncing;
    applyGeometry();
    syncCurrent(false);
    emit cellsChanged();
    emit gridRowsReplaced();
}

void TmStrGrid::notifyCellsChanged(int left, int top, int right, int bottom) {
    changed(left, top, right, bottom);
}

// ----------------------------------------------------------- current cell

QRect TmStrGrid::Selection() const {
    return QRect(QPoint(std::min(m_col, m_anchorCol), std::min(m_row, m_anchorRow)),
                 QPoint(std::max(m_col, m_anchorCol), std::max(m_row, m_anchorRow)));
}

void TmStrGrid::SetCol(int col) {
    if (col < m_fixedCols || col >= ColCount())
        rangeError();
    if (col != m_col)
        moveCurrent(col, m_row, true);
}

void TmStrGrid::SetRow(int row) {
    if (row < m_fixedRows || row >= RowCount())
        rangeError();
    if (row != m_row)
        moveCurrent(m_col, row, true);
}

void TmStrGrid::SetSelection(int left, int top, int right, int bottom) {
    for (int col : {left, right})
        if (col < m_fixedCols || col >= ColCount())
            rangeError();
    for (int row : {top, bottom})
        if (row < m_fixedRows || row >= RowCount())
            rangeError();
    m_anchorCol = std::min(left, right);
    m_anchorRow = std::min(top, bottom);
    m_col = std::max(left, right);
    m_row = std::max(top, bottom);
    syncCurrent(true);
}

bool TmStrGrid::EditorMode() const {
    return state() == QAbstractItemView::EditingState;
}

bool TmStrGrid::askSelect(int col, int row) {
    bool canSelect = true;
    if (OnSelectCell)
        OnSelectCell(*this, col, row, canSelect);
    return canSelect;
}

void TmStrGrid::moveCurrent(int col, int row, bool moveAnchor) {
    if (col == m_col && row == m_row) {
        if (moveAnchor && (m_anchorCol != col || m_anchorRow != row)) {
            m_anchorCol = col;
            m_anchorRow = row;
            syncCurrent(true);
        }
        return;
    }
    if (!askSelect(col, row))
        return;
    m_col = col;
    m_row = row;
    if (moveAnchor) {
        m_anchorCol = col;
        m_anchorRow = row;
    }
    syncCurrent(true);
    if (OnClick)
        OnClick(*this);
}

void TmStrGrid::extendSelection(int col, int row) {
    m_anchorCol = std::clamp(col, m_fixedCols, ColCount() - 1);
    m_anchorRow = std::clamp(row, m_fixedRows, RowCount() - 1);
    syncCurrent(false);
    const QModelIndex end = m_model->indexOf(m_anchorCol, m_anchorRow);
    if (end.isValid())
        scrollTo(end);
}

void TmStrGrid::clampCursor() {
    const int lastCol = ColCount() - 1;
    const int lastRow = RowCount() - 1;
    m_col = std::clamp(m_col, std::min(m_fixedCols, lastCol), lastCol);
    m_row = std::clamp(m_row, std::min(m_fixedRows, lastRow), lastRow);
    m_anchorCol = std::clamp(m_anchorCol, std::min(m_fixedCols, lastCol), lastCol);
    m_anchorRow = std::clamp(m_anchorRow, std::min(m_fixedRows, lastRow), lastRow);
}

void TmStrGrid::putCursorOnFirstCell() {
    m_col = m_anchorCol = m_fixedCols;
    m_row = m_anchorRow = m_fixedRows;
    m_scrollHome = true;
}

// ---------------------------------------------------------- keeping the view

void TmStrGrid::syncView() {
    if (inBulk() || m_holdView)
        return;
    if (m_model->fixedRows() != m_fixedRows || m_model->fixedCols() != m_fixedCols) {
        resetView();
        return;
    }
    syncCurrent(true);
}

void TmStrGrid::resetView() {
    const bool wasSyncing = m_syncing;
    m_syncing = true;
    m_model->beginReset();
    m_model->endReset(m_fixedRows, m_fixedCols);
    m_syncing = wasSyncing;
    applyGeometry();
    syncCurrent(true);
}

void TmStrGrid::syncCurrent(bool scroll) {
    if (inBulk() || m_holdView)
        return;
    const QModelIndex current = m_model->indexOf(m_col, m_row);
    const QModelIndex topLeft =
        m_model->indexOf(std::min(m_col, m_anchorCol), std::min(m_row, m_anchorRow));
    const QModelIndex bottomRight =
        m_model->indexOf(std::max(m_col, m_anchorCol), std::max(m_row, m_anchorRow));
    const bool wasSyncing = m_syncing;
    m_syncing = true;
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    if (topLeft.isValid() && bottomRight.isValid())
        selectionModel()->select(QItemSelection(topLeft, bottomRight),
                                 QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clearSelection();
    m_syncing = wasSyncing;
    if (m_scrollHome) {
        m_scrollHome = false;
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
    } else if (scroll && current.isValid()) {
        scrollTo(current);
    }
}

void TmStrGrid::applyGeometry() {
    if (inBulk())
        return;
    m_applyingGeometry = true;
    const int fixedRows = m_model->fixedRows();
    const int fixedCols = m_model->fixedCols();
    QHeaderView *columns = horizontalHeader();
    QHeaderView *rows = verticalHeader();
    columns->setVisible(fixedRows > 0);
    if (fixedRows > 0)
        columns->setFixedHeight(fixedRows * m_defaultRowHeight);
    int headerWidth = 0;
    for (int col = 0; col < fixedCols; ++col)
        headerWidth += ColWidths(col);
    rows->setVisible(fixedCols > 0);
    if (fixedCols > 0)
        rows->setFixedWidth(headerWidth);
    for (int section = 0; section < columns->count(); ++section) {
        const int width = ColWidths(section + fixedCols);
        if (columns->sectionSize(section) != width)
            columns->resizeSection(section, width);
    }
    m_applyingGeometry = false;
}

void TmStrGrid::reshape(Shape shape, int first, int last, const std::function<void()> &change) {
    if (inBulk()) {
        change(); // endBulkChange re-reads everything
        return;
    }
    const bool wasSyncing = m_syncing;
    m_syncing = true;
    switch (shape) {
    case Shape::InsertRows:
        m_model->beginInsertGridRows(first, last);
        change();
        m_model->endInsertGridRows();
        break;
    case Shape::RemoveRows:
        m_model->beginRemoveGridRows(first, last);
        change();
        m_model->endRemoveGridRows();
        break;
    case Shape::InsertCols:
        m_model->beginInsertGridCols(first, last);
        change();
        m_model->endInsertGridCols();
        break;
    case Shape::RemoveCols:
        m_model->beginRemoveGridCols(first, last);
        change();
        m_model->endRemoveGridCols();
        break;
    case Shape::Reset:
        m_model->beginReset();
        change();
        fitFixedToCounts();
        m_model->endReset(viewFixedRows(), viewFixedCols());
        break;
    }
    m_syncing = wasSyncing;
    // Column widths stay with their positions, like row heights.
    m_colWidths.resize(static_cast<size_t>(ColCount()), kDefaultColWidth);
    fitFixedToCounts();
    clampCursor();
    applyGeometry();
    syncCurrent(false);
    emit cellsChanged();
}

void TmStrGrid::headerSectionMoved(Qt::Orientation orientation, int, int oldVisual, int newVisual) {
    if (m_restoringSections || oldVisual == newVisual)
        return;
    // The header only shows positions: put its sections back and move the data.
    QHeaderView *header = orientation == Qt::Horizontal ? horizontalHeader() : verticalHeader();
    m_restoringSections = true;
    header->moveSection(newVisual, oldVisual);
    m_restoringSections = false;

    const auto follow = [](int &pos, int from, int to) {
        if (pos == from)
            pos = to;
        else if (from < to && pos > from && pos <= to)
            --pos;
        else if (from > to && pos >= to && pos < from)
            ++pos;
    };
    if (orientation == Qt::Vertical) {
        const int from = oldVisual + m_model->fixedRows();
        const int to = newVisual + m_model->fixedRows();
        m_store.moveRow(from, to);
        follow(m_row, from, to);
        follow(m_anchorRow, from, to);
        changed(0, std::min(from, to), ColCount() - 1, std::max(from, to));
        emit gridRowMoved(from, to);
    } else {
        const int from = oldVisual + m_model->fixedCols();
        const int to = newVisual + m_model->fixedCols();
        m_store.moveCol(from, to);
        // A dragged column takes its width along.
        const auto widths = m_colWidths.begin();
        if (from < to)
            std::rotate(widths + from, widths + from + 1, widths + to + 1);
        else
            std::rotate(widths + to, widths + from, widths + from + 1);
        follow(m_col, from, to);
        follow(m_anchorCol, from, to);
        applyGeometry();
        changed(std::min(from, to), 0, std::max(from, to), RowCount() - 1);
    }
    syncCurrent(false);
}

void TmStrGrid::columnResized(int logical, int, int newSize) {
    if (m_applyingGeometry)
        return;
    const int col = logical + m_model->fixedCols();
    if (col >= 0 && static_cast<size_t>(col) < m_colWidths.size())
        m_colWidths[static_cast<size_t>(col)] = newSize;
}

// ------------------------------------------------------- rows and columns

void TmStrGrid::InsertRows(int index, int count) {
    if (count < 1)
        return;
    if (index < 0 || index > RowCount() || count > std::numeric_limits<int>::max() - RowCount())
        rangeError();
    // An index inside the header rows moves header rows down into the data.
    reshape(index < viewFixedRows() ? Shape::Reset : Shape::InsertRows, index, index + count - 1,
            [&] { m_store.insertRows(index, count); });
    if (!inBulk())
        emit gridRowsInserted(index, count);
}

void TmStrGrid::InsertCols(int index, int count) {
    if (count < 1)
        return;
    if (index < 0 || index > ColCount() || count > std::numeric_limits<int>::max() - ColCount())
        rangeError();
    reshape(index < viewFixedCols() ? Shape::Reset : Shape::InsertCols, index, index + count - 1,
            [&] { m_store.insertCols(index, count); });
}

void TmStrGrid::DeleteRows(int index, int count) {
    if (count < 1)
        return;
    if (index < 0 || index > RowCount())
        rangeError();
    count = std::min(count, RowCount() - index);
    if (count == 0)
        return;
    const int remaining = RowCount() - count;
    const bool reset = index < viewFixedRows() || remaining <= viewFixedRows();
    reshape(reset ? Shape::Reset : Shape::RemoveRows, index, index + count - 1,
            [&] { m_store.deleteRows(index, count); });
    if (!inBulk())
        emit gridRowsDeleted(index, count);
}

void TmStrGrid::DeleteCols(int index, int count) {
    if (count < 1)
        return;
    if (index < 0 || index > ColCount())
        rangeError();
    count = std::min(count, ColCount() - index);
    if (count == 0)
        return;
    const int remaining = ColCount() - count;
    const bool reset = index < viewFixedCols() || remaining <= viewFixedCols();
    // Widths stay with positions: the deleted columns' widths are not taken away.
    reshape(reset ? Shape::Reset : Shape::RemoveCols, index, index + count - 1,
            [&] { m_store.deleteCols(index, count); });
}

namespace {

// Splits `text` at each occurrence of `separator`; an empty separator gives the
// text whole.
template <typename Write>
int splitInto(const QByteArray &text, const QByteArray &separator, Write write) {
    if (separator.isEmpty()) {
        write(0, QByteArrayView(text));
        return 1;
    }
    int i = 0;
    qsizetype start = 0;
    while (true) {
        const qsizetype found = text.indexOf(separator, start);
        if (found < 0) {
            write(i, QByteArrayView(text).sliced(start));
            return i + 1;
        }
        write(i, QByteArrayView(text).sliced(start, found - start));
        start = found + separator.size();
        ++i;
    }
}

} // namespace

int TmStrGrid::ModifyRow(int row, const QByteArray &text, const QByteArray &separator) {
    if (row < 0)
        rangeError();
    const int written = splitInto(
        text, separator, [&](int col, QByteArrayView cell) { m_store.setCell(col, row, cell); });
    changed(0, row, written - 1, row);
    return written;
}

int TmStrGrid::ModifyCol(int col, const QByteArray &text, const QByteArray &separator) {
    if (col < 0)
        rangeError();
    const int written = splitInto(
        text, separator, [&](int row, QByteArrayView cell) { m_store.setCell(col, row, cell); });
    changed(col, 0, col, written - 1);
    return written;
}

void TmStrGrid::AddRow(const QByteArray &text, char separator) {
    SetRowCount(RowCount() + 1);
    ModifyRow(RowCount() - 1, text, QByteArray(1, separator));
}

void TmStrGrid::AddCol(const QByteArray &text, char separator) {
    SetColCount(ColCount() + 1);
    ModifyCol(ColCount() - 1, text, QByteArray(1, separator));
}

// ---------------------------------------------------------------- clipboard

QString TmStrGrid::cp932MimeType() {
    return QStringLiteral("application/x-kelvari-cp932");
}

QByteArray TmStrGrid::selectionText() const {
    const QRect sel = Selection();
    // Sized exactly first, so the text is built without reallocating.
    qsizetype size = 0;
    for (int row = sel.top(); row <= sel.bottom(); ++row)
        for (int col = sel.left(); col <= sel.right(); ++col)
            size += static_cast<qsizetype>(m_store.cellView(col, row).size()) + 1;
    size += sel.height();
    QByteArray text;
    text.reserve(size);
    for (int row = sel.top(); row <= sel.bottom(); ++row) {
        if (row > sel.top())
            text += "\r\n";
        for (int col = sel.left(); col <= sel.right(); ++col) {
            if (col > sel.left())
                text += '\t';
            const std::string_view cell = m_store.cellView(col, row);
            text.append(cell.data(), static_cast<qsizetype>(cell.size()));
        }
    }
    return text;
}

void TmStrGrid::putOnClipboard(const QByteArray &cp932) {
    auto mime = std::make_unique<QMimeData>();
    mime->setText(sjis::decode(cp932));
    mime->setData(cp932MimeType(), cp932);
    QGuiApplication::clipboard()->setMimeData(mime.release());
}

std::optional<TmStrGrid::ClipboardBytes> TmStrGrid::readClipboard() {
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (mime && mime->hasFormat(cp932MimeType()))
        return ClipboardBytes{mime->data(cp932MimeType()), {}};
    if (!mime || !mime->hasText())
        return std::nullopt;
    QString text = mime->text();
    // Other programs end their text with a line break; it is not an extra empty line.
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    else if (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    sjis::EncodeResult encoded = sjis::encode(text);
    if (!encoded.ok())
        return ClipboardBytes{{}, encoded.unmappable};
    return ClipboardBytes{std::move(encoded.bytes), {}};
}

QString TmStrGrid::unmappableMessage(const QString &characters, const QString &action) {
    return QStringLiteral("「") + characters + QStringLiteral("」はShift-JISで表せない文字のため") +
           action + QStringLiteral("できません。");
}

void TmStrGrid::CopyToClipboard() {
    putOnClipboard(selectionText());
}

void TmStrGrid::CutToClipboard() {
    CopyToClipboard();
    const QRect sel = Selection();
    for (int row = sel.top(); row <= sel.bottom(); ++row)
        for (int col = sel.left(); col <= sel.right(); ++col)
            m_store.setCell(col, row, {});
    changed(sel.left(), sel.top(), sel.right(), sel.bottom());
}

void TmStrGrid::PasteFromClipboard() {
    const std::optional<ClipboardBytes> clip = readClipboard();
    if (!clip)
        return;
    if (!clip->unmappable.isEmpty()) {
        refuseUnmappable(clip->unmappable, QStringLiteral("貼り付け"));
        return;
    }
    if (clip->bytes.isEmpty())
        return;
    pasteBytes(clip->bytes);
}

void TmStrGrid::pasteBytes(const QByteArray &text) {
    const auto lines = splitBlock(text);
    const QRect sel = Selection();
    const int startCol = m_pasteToCursor ? m_col : sel.left();
    const int startRow = m_pasteToCursor ? m_row : sel.top();
    size_t widest = 0;
    for (const auto &line : lines)
        widest = std::max(widest, line.size());
    // The grid grows whenever the write position reaches one past the last column
    // or row, also after the last cell and line: the same as growing step by step.
    const long long lastCol = startCol + static_cast<long long>(widest);
    const long long lastRow = startRow + static_cast<long long>(lines.size());
    if (lastCol >= std::numeric_limits<int>::max() || lastRow >= std::numeric_limits<int>::max())
        rangeError();
    if (lastCol >= ColCount())
        SetColCount(static_cast<int>(lastCol) + 1);
    if (lastRow >= RowCount())
        SetRowCount(static_cast<int>(lastRow) + 1);
    int row = startRow;
    for (const auto &line : lines) {
        int col = startCol;
        for (QByteArrayView cell : line)
            m_store.setCell(col++, row, cell);
        ++row;
    }
    changed(startCol, startRow, static_cast<int>(lastCol) - 1, static_cast<int>(lastRow) - 1);
}

void TmStrGrid::refuseUnmappable(const QString &characters, const QString &action) {
    if (!m_dialogs)
        return;
    m_dialogs->error(this, unmappableMessage(characters, action));
}

// ---------------------------------------------------------------- editing

QString TmStrGrid::editTextFor(const QModelIndex &index) {
    const int col = m_model->gridCol(index);
    const int row = m_model->gridRow(index);
    QByteArray text = m_store.cell(col, row);
    if (OnGetEditText)
        OnGetEditText(*this, col, row, text);
    return sjis::decode(text);
}

void TmStrGrid::commitEditText(const QModelIndex &index, const QString &text,
                               const QString &shown) {
    // A cell the user did not change is never rewritten: its bytes stay as they are.
    if (m_committing || text == shown || !index.isValid())
        return;
    const int col = m_model->gridCol(index);
    const int row = m_model->gridRow(index);
    const sjis::EncodeResult encoded = sjis::encode(text);
    if (!encoded.ok()) {
        // The message box takes the focus from the editor, which commits again.
        m_committing = true;
        refuseUnmappable(encoded.unmappable, QStringLiteral("入力"));
        m_committing = false;
        return;
    }
    if (m_store.cellView(col, row) ==
        std::string_view(encoded.bytes.constData(), static_cast<size_t>(encoded.bytes.size())))
        return;
    m_store.setCell(col, row, encoded.bytes);
    m_model->gridCellsChanged(col, row, col, row);
    if (OnSetEditText)
        OnSetEditText(*this, col, row, encoded.bytes);
    emit cellsChanged();
}

// ------------------------------------------------------------------- keys

QChar TmStrGrid::keyChar(const QKeyEvent *event) const {
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & (Qt::AltModifier | Qt::MetaModifier)) &&
        event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
        return QChar(static_cast<char16_t>(event->key() - Qt::Key_A + 1));
    const QString text = event->text();
    if (text.size() == 1)
        return text.front();
    if (text.isEmpty() && event->key() == Qt::Key_Tab && !(mods & Qt::ControlModifier))
        return QChar(u'\t');
    return {};
}

bool TmStrGrid::clipboardShortcut(QChar key) {
    switch (key.unicode()) {
    case kCtrlC:
        CopyToClipboard();
        return true;
    case kCtrlV:
        PasteFromClipboard();
        return true;
    case kCtrlX:
        CutToClipboard();
        return true;
    default:
        return false;
    }
}

void TmStrGrid::keyPressEvent(QKeyEvent *event) {
    if (m_syncing) {
        // Qt moves on with a made-up Tab when an editor that has the focus is
        // taken away by a reset; that is no key of the user's.
        QTableView::keyPressEvent(event);
        return;
    }
    const QChar original = keyChar(event);
    if (!original.isNull()) {
        QChar key = original;
        if (m_enableClipboardShortcuts && !EditorMode())
            clipboardShortcut(key);
        if (OnKeyPress)
            OnKeyPress(*this, key);
        const char16_t code = original.unicode();
        if (key.isNull() || code == kCtrlC || code == kCtrlV || code == kCtrlX) {
            // The item view's own Ctrl+C (copy one cell) is not part of this grid.
            event->accept();
            return;
        }
        if (key != original) {
            QKeyEvent replaced = withCharacter(*event, key);
            QTableView::keyPressEvent(&replaced);
            event->setAccepted(replaced.isAccepted());
            return;
        }
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & Qt::ShiftModifier) && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        // Shift+arrows move the anchor; the current cell stays.
        int dc = 0;
        int dr = 0;
        switch (event->key()) {
        case Qt::Key_Left:
            dc = -1;
            break;
        case Qt::Key_Right:
            dc = 1;
            break;
        case Qt::Key_Up:
            dr = -1;
            break;
        case Qt::Key_Down:
            dr = 1;
            break;
        default:
            break;
        }
        if (dc != 0 || dr != 0) {
            extendSelection(m_anchorCol + dc, m_anchorRow + dr);
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

bool TmStrGrid::editorKeyPress(QWidget *editor, QKeyEvent *event) {
    // Keys typed into the editor reach OnKeyPress as well (the shortcuts do not
    // act in editor mode).
    if (m_forwarding || !OnKeyPress)
        return false;
    const QChar original = keyChar(event);
    if (original.isNull())
        return false;
    QChar key = original;
    OnKeyPress(*this, key);
    if (key.isNull())
        return true;
    if (key == original)
        return false;
    QKeyEvent replaced = withCharacter(*event, key);
    m_forwarding = true;
    QCoreApplication::sendEvent(editor, &replaced);
    m_forwarding = false;
    return true;
}

QModelIndex TmStrGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex next = QTableView::moveCursor(cursorAction, modifiers);
    if (m_syncing)
        return currentIndex();
    if (next.isValid() && next != currentIndex() &&
        !askSelect(m_model->gridCol(next), m_model->gridRow(next)))
        return currentIndex();
    return next;
}

void TmStrGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTableView::currentChanged(current, previous);
    if (m_syncing || m_holdView || inBulk() || !current.isValid())
        return;
    const int col = m_model->gridCol(current);
    const int row = m_model->gridRow(current);
    if (col == m_col && row == m_row)
        return;
    m_col = m_anchorCol = col;
    m_row = m_anchorRow = row;
    syncCurrent(false);
    if (OnClick)
        OnClick(*this);
}

// ------------------------------------------------------------------ mouse

QPoint TmStrGrid::clientPos(QWidget *source, const QPoint &pos) const {
    return source->mapTo(this, pos) - contentsRect().topLeft();
}

bool TmStrGrid::inClientArea(const QPoint &client) const {
    const QRect view = viewport()->geometry();
    const QRect area(QPoint(0, 0), view.bottomRight() - contentsRect().topLeft());
    return area.contains(client);
}

void TmStrGrid::raiseMouse(const std::function<void(TmStrGrid &, Qt::MouseButton,
                                                    Qt::KeyboardModifiers, int, int)> &handler,
                           QWidget *source, QMouseEvent *event) {
    if (!handler)
        return;
    const QPoint client = clientPos(source, event->position().toPoint());
    handler(*this, event->button(), event->modifiers(), client.x(), client.y());
}

QPoint TmStrGrid::headerCellAt(QWidget *headerViewport, const QPoint &pos) const {
    const int fixedRows = m_model->fixedRows();
    const int fixedCols = m_model->fixedCols();
    if (headerViewport == horizontalHeader()->viewport()) {
        const int section = horizontalHeader()->logicalIndexAt(pos.x());
        if (section < 0 || fixedRows == 0)
            return {-1, -1};
        const int row = std::clamp(pos.y() / std::max(1, m_defaultRowHeight), 0, fixedRows - 1);
        return {section + fixedCols, row};
    }
    const int section = verticalHeader()->logicalIndexAt(pos.y());
    if (section < 0 || fixedCols == 0)
        return {-1, -1};
    int col = 0;
    for (int right = ColWidths(0); col < fixedCols - 1 && pos.x() >= right; right += ColWidths(col))
        ++col;
    return {col, section + fixedRows};
}

bool TmStrGrid::onHeaderBorder(QWidget *headerViewport, const QPoint &pos) const {
    // Rows have one fixed height; only column borders can be dragged.
    QHeaderView *header = horizontalHeader();
    if (headerViewport != header->viewport())
        return false;
    const int logical = header->logicalIndexAt(pos.x());
    if (logical < 0)
        return false;
    const int grip = header->style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, header);
    const int start = header->sectionViewportPosition(logical);
    const bool atLeft = pos.x() < start + grip && header->visualIndex(logical) > 0;
    const bool atRight = pos.x() > start + header->sectionSize(logical) - grip;
    return atLeft || atRight;
}

bool TmStrGrid::handlePress(QWidget *source, QMouseEvent *event) {
    const QPoint pos = event->position().toPoint();
    QWidget *focused = QApplication::focusWidget();
    if (focused != this && !isAncestorOf(focused))
        setFocus(Qt::MouseFocusReason);
    QWidget *active = window()->focusWidget();
    if (active != this && !isAncestorOf(active)) {
        raiseMouse(OnMouseDown, source, event);
        return false; // the view's own handling
    }
    if (event->button() != Qt::LeftButton)
        return true; // neither moves the current cell nor raises OnMouseDown
    if (source != viewport()) {
        if (onHeaderBorder(source, pos)) {
            raiseMouse(OnMouseDown, source, event);
            return false; // the header starts sizing
        }
        const QPoint cell = headerCellAt(source, pos);
        if (m_clickFixed && cell.x() >= 0) {
            headerClick(cell.x(), cell.y());
            return true;
        }
        raiseMouse(OnMouseDown, source, event);
        return false; // the header starts a row or column move
    }
    const QModelIndex index = indexAt(pos);
    if (index.isValid()) {
        const int col = m_model->gridCol(index);
        const int row = m_model->gridRow(index);
        if (event->modifiers() & Qt::ShiftModifier) {
            extendSelection(col, row);
        } else {
            moveCurrent(col, row, true);
            m_selecting = true;
        }
    }
    raiseMouse(OnMouseDown, source, event);
    return true;
}

void TmStrGrid::headerClick(int col, int row) {
    m_savedFixedRows = m_fixedRows;
    m_savedFixedCols = m_fixedCols;
    // The view keeps showing its headers while the counts are briefly 0.
    ++m_holdView;
    try {
        SetFixedRows(0);
        SetFixedCols(0);
        m_headerClick = true;
        SetRow(row);
        SetCol(col);
        SetFixedRows(m_savedFixedRows);
        SetFixedCols(m_savedFixedCols);
    } catch (const AppError &) {
        // A handler changed the counts so that the saved header counts no longer
        // fit; keep what fits rather than fail the click.
        fitFixedToCounts();
    }
    --m_holdView;
    syncView();
}

void TmStrGrid::handleRelease(QWidget *source, QMouseEvent *event) {
    m_headerClick = false;
    m_selecting = false;
    raiseMouse(OnMouseUp, source, event);
}

void TmStrGrid::handleDoubleClick(QWidget *source, QMouseEvent *event) {
    QWidget *focused = QApplication::focusWidget();
    if (focused != this && !isAncestorOf(focused))
        setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    if (OnDblClick)
        OnDblClick(*this);
    if (source != viewport())
        return;
    // The first click made the cell current; the double click opens its editor.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index == currentIndex() && state() != QAbstractItemView::EditingState)
        edit(index);
}

void TmStrGrid::mousePressEvent(QMouseEvent *event) {
    if (!handlePress(viewport(), event))
        QTableView::mousePressEvent(event);
}

void TmStrGrid::mouseMoveEvent(QMouseEvent *event) {
    if (m_selecting && (event->buttons() & Qt::LeftButton)) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            extendSelection(m_model->gridCol(index), m_model->gridRow(index));
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void TmStrGrid::mouseReleaseEvent(QMouseEvent *event) {
    handleRelease(viewport(), event);
}

void TmStrGrid::mouseDoubleClickEvent(QMouseEvent *event) {
    handleDoubleClick(viewport(), event);
}

bool TmStrGrid::eventFilter(QObject *watched, QEvent *event) {
    auto *source = qobject_cast<QWidget *>(watched);
    if (m_forwarding || !source ||
        (source != horizontalHeader()->viewport() && source != verticalHeader()->viewport()))
        return QTableView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return handlePress(source, static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonDblClick:
        // Header double clicks would size rows to their contents.
        handleDoubleClick(source, static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::MouseButtonRelease: {
        m_headerClick = false;
        // The header finishes its move or sizing first, then OnMouseUp sees the result.
        m_forwarding = true;
        QCoreApplication::sendEvent(source, event);
        m_forwarding = false;
        handleRelease(source, static_cast<QMouseEvent *>(event));
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
        acceptFileDrag(static_cast<QDragMoveEvent *>(event));
        return true;
    case QEvent::Drop:
        handleDrop(source, static_cast<QDropEvent *>(event));
        return true;
    default:
        return QTableView::eventFilter(watched, event);
    }
}

// ------------------------------------------------------------------ drops

void TmStrGrid::dragEnterEvent(QDragEnterEvent *event) {
    acceptFileDrag(event);
}

void TmStrGrid::dragMoveEvent(QDragMoveEvent *event) {
    acceptFileDrag(event);
}

void TmStrGrid::dropEvent(QDropEvent *event) {
    handleDrop(viewport(), event);
}

void TmStrGrid::handleDrop(QWidget *source, QDropEvent *event) {
    const QMimeData *mime = event->mimeData();
    const QPoint client = clientPos(source, event->position().toPoint());
    m_droppedFiles.clear();
    if ((OnDropFiles || m_keepFiles) && mime) {
        // Full paths, in the order the desktop gave them; nothing is cut short.
        const QList<QUrl> urls = mime->urls();
        for (const QUrl &url : urls) {
            if (url.isLocalFile())
                m_droppedFiles.append(QDir::toNativeSeparators(url.toLocalFile()));
        }
    }
    if (OnDropFiles)
        OnDropFiles(*this, client.x(), client.y(), inClientArea(client));
    if (!m_keepFiles)
        m_droppedFiles.clear();
    event->acceptProposedAction();
}

} // namespace kelvari
