// Every menu item and toolbar button that the user can reach in the main window
// does something: triggered on a window with a document, a clipboard text and an
// undo step to work on, it changes what the window shows, opens a dialog or asks
// the help for a page. A command connected to nothing, or to an empty handler,
// fails here.

#include "app/editingcommands.h"
#include "app/tfrmjisho.h"
#include "app/tfrmjisho_form.h"
#include "document/documentcommands.h"
#include "document/documentmodel.h"
#include "grid/tmstrgrid.h"
#include "platform/dialogs.h"
#include "tests/support/recordinghelpengine.h"
#include "tests/support/testdataroot.h"
#include "widgets/explorerbutton.h"

#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace kelvari;
using namespace kelvari::test;

namespace {

// Says no to every dialog, and counts them.
class DeclineAll : public Dialogs {
public:
    int shown = 0;
    int message(const MessageRequest &) override {
        ++shown;
        return ResultCancel;
    }
    std::optional<FileDialogAnswer> openFile(const FileDialogRequest &) override {
        ++shown;
        return std::nullopt;
    }
    std::optional<FileDialogAnswer> saveFile(const FileDialogRequest &) override {
        ++shown;
        return std::nullopt;
    }
    std::optional<QFont> chooseFont(QWidget *, const QFont &) override {
        ++shown;
        return std::nullopt;
    }
    std::optional<FolderBrowseAnswer> browseFolder(const FolderBrowseRequest &) override {
        ++shown;
        return std::nullopt;
    }
    int execModal(QDialog &) override {
        ++shown;
        return QDialog::Rejected;
    }
};

// What the user can see of the window and what it hands to the rest of the desktop.
QStringList observe(TfrmJisho &w, const DeclineAll &dialogs, const RecordingHelpEngine &help) {
    TmStrGrid &grid = w.grid();
    QStringList seen;
    seen << QString::number(dialogs.shown) << help.requests.join(u'|') << w.windowTitle()
         << QString::number(w.isVisible()) << QString::number(w.width())
         << QString::number(w.height()) << w.form().edtComment->text()
         << QGuiApplication::clipboard()->text() << grid.font().toString()
         << QString::number(grid.DefaultRowHeight())
         << QString::number(w.form().rgHinsiButtons->checkedId())
         << QString::number(w.form().mmUndo->isEnabled()) << QString::number(grid.RowCount())
         << QString::number(grid.Row()) << QString::number(grid.Col())
         << w.document().history().paths().join(u'|');
    for (int col = 0; col < grid.ColCount(); ++col)
        seen << QString::number(grid.ColWidths(col));
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            seen << QString::fromLatin1(grid.Cells(col, row).toHex());
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top != &w && top->isVisible())
            seen << QString::fromLatin1(top->metaObject()->className());
    return seen;
}

// Reachable: shown and enabled, and so is every menu that holds it.
bool reachable(const QAction *action) {
    if (action->isSeparator() || action->menu() || !action->isVisible() || !action->isEnabled())
        return false;
    for (const QObject *holder : action->associatedObjects()) {
        const auto *menu = qobject_cast<const QMenu *>(holder);
        if (menu && (!menu->menuAction()->isVisible() || !menu->menuAction()->isEnabled()))
            return false;
    }
    return true;
}

struct Window {
    TestDataRoot root;
    DeclineAll dialogs;
    RecordingHelpEngine help;
    std::unique_ptr<TfrmJisho> w;

    // A document, a text on the clipboard, an undo step, a window the user sized.
    Window() {
        w = std::make_unique<TfrmJisho>(dialogs, QString(), nullptr, &help);
        w->show();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("window not active");
        w->resize(700, 480);
        TmStrGrid &grid = w->grid();
        grid.SetCells(1, 1, "before");
        w->grid().SetRow(1);
        w->editingCommands().SaveUndo();
        for (int row = 1; row <= 3; ++row) {
            grid.SetCells(1, row, "r" + QByteArray::number(row));
            grid.SetCells(2, row, "w" + QByteArray::number(row));
            grid.SetCells(3, row, "p" + QByteArray::number(row));
        }
        grid.SetRow(2);
        QGuiApplication::clipboard()->setText(QStringLiteral("x,y,z"));
    }
};

} // namespace

class TestEveryCommandActs : public QObject {
    Q_OBJECT
private slots:
    void everyReachableMenuItemActs_data() {
        QTest::addColumn<QString>("name");
        Window probe;
        QList<QAction *> actions = probe.w->findChildren<QAction *>();
        for (QAction *action : probe.w->PopupMenu->actions())
            if (!actions.contains(action))
                actions.append(action);
        int count = 0;
        for (const QAction *action : actions) {
            if (!reachable(action) || action->objectName().isEmpty())
                continue;
            QTest::newRow(qPrintable(action->objectName())) << action->objectName();
            ++count;
        }
        // The File and Edit menus at least.
        QVERIFY(count >= 12);
    }
    void everyReachableMenuItemActs() {
        QFETCH(QString, name);
        Window window;
        auto *action = window.w->findChild<QAction *>(name);
        QVERIFY(action);
        QVERIFY(reachable(action));
        const QStringList before = observe(*window.w, window.dialogs, window.help);
        action->trigger();
        QVERIFY2(observe(*window.w, window.dialogs, window.help) != before,
                 "the command did nothing");
    }

    void everyEnabledButtonActs_data() {
        QTest::addColumn<QString>("name");
        Window probe;
        for (const QAbstractButton *button : probe.w->findChildren<QToolButton *>())
            if (button->isVisible() && button->isEnabled() &&
                !button->objectName().startsWith(QLatin1String("qt_")))
                QTest::newRow(qPrintable(button->objectName())) << button->objectName();
        for (const TExplorerButton *button : probe.w->findChildren<TExplorerButton *>())
            if (button->isVisible() && button->isEnabled())
                QTest::newRow(qPrintable(button->objectName())) << button->objectName();
    }
    void everyEnabledButtonActs() {
        QFETCH(QString, name);
        Window window;
        auto *button = window.w->findChild<QWidget *>(name);
        QVERIFY(button);
        const QStringList before = observe(*window.w, window.dialogs, window.help);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QVERIFY2(observe(*window.w, window.dialogs, window.help) != before,
                 "the button did nothing");
    }
};

QTEST_MAIN(TestEveryCommandActs)
#include "tst_everycommandacts.moc"
