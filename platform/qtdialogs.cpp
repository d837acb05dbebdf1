#include "platform/qtdialogs.h"

#include "platform/folderbrowser.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QHash>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QWidget>

namespace kelvari {
namespace {

constexpr MessageButton kButtonOrder[] = {
    MessageButton::Yes,    MessageButton::No,    MessageButton::Ok,
    MessageButton::Cancel, MessageButton::Abort, MessageButton::Retry,
    MessageButton::Ignore, MessageButton::All,   MessageButton::Help,
};

QMessageBox::ButtonRole roleFor(MessageButton button) {
    switch (button) {
    case MessageButton::Yes:
        return QMessageBox::YesRole;
    case MessageButton::No:
        return QMessageBox::NoRole;
    case MessageButton::Ok:
    case MessageButton::All:
        return QMessageBox::AcceptRole;
    case MessageButton::Cancel:
    case MessageButton::Abort:
        return QMessageBox::RejectRole;
    case MessageButton::Retry:
    case MessageButton::Ignore:
        return QMessageBox::ActionRole;
    case MessageButton::Help:
        return QMessageBox::HelpRole;
    }
    return QMessageBox::ActionRole;
}

QMessageBox::Icon iconFor(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    case MessageKind::Custom:
        break;
    }
    return QMessageBox::NoIcon;
}

void placeDialog(QWidget &dialog, QPoint topLeft) {
    if (topLeft.x() != -1 && topLeft.y() != -1) {
        dialog.move(topLeft);
        return;
    }
    centreOnScreen(dialog, dialog.parentWidget() ? dialog.parentWidget()->screen() : nullptr);
}

// A message box that takes its place once it knows its final size.
class PlacedMessageBox : public QMessageBox {
public:
    PlacedMessageBox(QWidget *owner, QPoint topLeft) : QMessageBox(owner), m_topLeft(topLeft) {}

protected:
    void showEvent(QShowEvent *event) override {
        QMessageBox::showEvent(event);
        placeDialog(*this, m_topLeft);
    }

private:
    QPoint m_topLeft;
};

void prepare(QFileDialog &dialog, const FileDialogRequest &request) {
    dialog.setWindowTitle(request.title);
    if (!request.directory.isEmpty())
        dialog.setDirectory(request.directory);
    if (!request.filter.isEmpty()) {
        const QStringList filters = request.filter.split(QStringLiteral(";;"));
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 0 && request.filterIndex < filters.size())
            dialog.selectNameFilter(filters.at(request.filterIndex));
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    dialog.setDefaultSuffix(request.defaultSuffix);
}

std::optional<FileDialogAnswer> answerOf(QFileDialog &dialog) {
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    const int index = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
    return FileDialogAnswer{files.constFirst(), index < 0 ? 0 : index};
}

} // namespace

void centreOnScreen(QWidget &window, const QScreen *screen) {
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

int resultFor(MessageButton button) {
    switch (button) {
    case MessageButton::Ok:
        return ResultOk;
    case MessageButton::Cancel:
        return ResultCancel;
    case MessageButton::Abort:
        return ResultAbort;
    case MessageButton::Retry:
        return ResultRetry;
    case MessageButton::Ignore:
        return ResultIgnore;
    case MessageButton::Yes:
        return ResultYes;
    case MessageButton::No:
        return ResultNo;
    case MessageButton::All:
        return ResultAll;
    case MessageButton::Help:
        break;
    }
    return ResultNone;
}

int QtDialogs::message(const MessageRequest &request) {
    PlacedMessageBox box(request.owner, request.topLeft);
    box.setIcon(iconFor(request.kind));
    box.setWindowTitle(request.caption.value_or(captionFor(request.kind)));
    // Messages quote file names and cell text; never let them turn into markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);

    MessageButtons buttons = request.buttons;
    // A box without any button could not be closed; it gets OK.
    if (!(buttons & ~MessageButtons(MessageButton::Help)))
        buttons |= MessageButton::Ok;

    QHash<QAbstractButton *, MessageButton> codes;
    QPushButton *first = nullptr;
    QPushButton *cancelButton = nullptr;
    for (MessageButton button : kButtonOrder) {
        // Help would need the help engine, which lives above this layer; the
        // program's boxes never offer it.
        if (button == MessageButton::Help || !buttons.testFlag(button))
            continue;
        QPushButton *added = box.addButton(captionFor(button), roleFor(button));
        codes.insert(added, button);
        if (!first)
            first = added;
        if (button == MessageButton::Cancel)
            cancelButton = added;
    }
    // The first button is the default, as in the system's boxes; Escape answers
    // Cancel when there is one.
    box.setDefaultButton(first);
    if (cancelButton)
        box.setEscapeButton(cancelButton);
    else if (codes.size() == 1)
        box.setEscapeButton(first);

    box.exec();
    const auto it = codes.constFind(box.clickedButton());
    if (it == codes.constEnd())
        return cancelButton ? ResultCancel : ResultNone;
    return resultFor(it.value());
}

std::optional<FileDialogAnswer> QtDialogs::openFile(const FileDialogRequest &request) {
    QFileDialog dialog(request.owner);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    return answerOf(dialog);
}

std::optional<FileDialogAnswer> QtDialogs::saveFile(const FileDialogRequest &request) {
    QFileDialog dialog(request.owner);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    return answerOf(dialog);
}

std::optional<QFont> QtDialogs::chooseFont(QWidget *owner, const QFont &initial) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, owner);
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<FolderBrowseAnswer> QtDialogs::browseFolder(const FolderBrowseRequest &request) {
    return runFolderBrowser(request);
}

int QtDialogs::execModal(QDialog &dialog) {
    return dialog.exec();
}

} // namespace kelvari
