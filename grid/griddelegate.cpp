#include "grid/griddelegate.h"

#include "grid/tmstrgrid.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace kelvari {
namespace {
// The text the editor was opened with, kept on the editor itself.
constexpr const char *kShownText = "kelvariShownText";
} // namespace

GridDelegate::GridDelegate(TmStrGrid &grid) : m_grid(grid) {}

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                    const QModelIndex &) const {
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    return editor;
}

void GridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    auto *line = qobject_cast<QLineEdit *>(editor);
    // The view refreshes an open editor whenever its cell is repainted from the
    // model; only the opening fetches the text (and tells the application).
    if (!line || line->property(kShownText).isValid())
        return;
    const QString text = m_grid.editTextFor(index);
    line->setProperty(kShownText, text);
    line->setText(text);
}

void GridDelegate::setModelData(QWidget *editor, QAbstractItemModel *,
                                const QModelIndex &index) const {
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line)
        return;
    const QString text = line->text();
    const QString shown = line->property(kShownText).toString();
    // Nothing of the editor is used after this call: a refusal message may run
    // an event loop in which the editor goes away.
    m_grid.commitEditText(index, text, shown);
}

bool GridDelegate::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        auto *editor = qobject_cast<QWidget *>(watched);
        if (editor && m_grid.editorKeyPress(editor, static_cast<QKeyEvent *>(event)))
            return true;
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

} // namespace kelvari
