#include "platform/helpkey.h"
#include "tests/support/recordinghelpengine.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using namespace kelvari;

namespace {

// An owner window and a dialog of it; in the dialog a group holding a field.
struct Windows {
    QWidget owner;
    QDialog *dialog = new QDialog(&owner);
    QWidget *group = new QWidget(dialog);
    QLineEdit *field = new QLineEdit(group);
};

QStringList contextRequest(int context) {
    return context ? QStringList{QStringLiteral("context ") + QString::number(context)}
                   : QStringList();
}

} // namespace

class TestHelpKey : public QObject {
    Q_OBJECT
private slots:
    void f1OpensTheNearestContext_data() {
        QTest::addColumn<int>("ownerContext");
        QTest::addColumn<int>("dialogContext");
        QTest::addColumn<int>("groupContext");
        QTest::addColumn<int>("fieldContext");
        QTest::addColumn<int>("expected");
        QTest::newRow("the control's own") << 0 << 0 << 0 << 10049 << 10049;
        QTest::newRow("its group's") << 0 << 0 << 10005 << 0 << 10005;
        QTest::newRow("own before the group's") << 0 << 0 << 10005 << 10049 << 10049;
        QTest::newRow("its window's") << 0 << 10017 << 0 << 0 << 10017;
        QTest::newRow("never the owner window's") << 10004 << 0 << 0 << 0 << 0;
        QTest::newRow("none") << 0 << 0 << 0 << 0 << 0;
    }
    void f1OpensTheNearestContext() {
        QFETCH(int, ownerContext);
        QFETCH(int, dialogContext);
        QFETCH(int, groupContext);
        QFETCH(int, fieldContext);
        QFETCH(int, expected);
        test::RecordingHelpEngine engine;
        const HelpKey key(engine);
        Windows w;
        setHelpContext(&w.owner, ownerContext);
        setHelpContext(w.dialog, dialogContext);
        setHelpContext(w.group, groupContext);
        setHelpContext(w.field, fieldContext);

        QCOMPARE(contextForHelpKey(w.field), expected);
        QTest::keyClick(w.field, Qt::Key_F1);
        QCOMPARE(engine.requests, contextRequest(expected));
    }

    // A form file sets the number as a dynamic property, without our function.
    void formPropertyCounts() {
        test::RecordingHelpEngine engine;
        const HelpKey key(engine);
        Windows w;
        w.field->setProperty("helpContext", 10053);
        QCOMPARE(helpContext(w.field), 10053);
        setHelpContext(w.group, 10005);
        setHelpContext(w.group, 0);
        QCOMPARE(helpContext(w.group), 0);

        QTest::keyClick(w.field, Qt::Key_F1);
        QTest::keyClick(w.field, Qt::Key_F1, Qt::ShiftModifier);
        QTest::keyClick(w.field, Qt::Key_F2);
        QCOMPARE(engine.requests, contextRequest(10053));
    }

    // The main window's own F1 command runs where no control has a context,
    // and gives way where one has.
    void windowShortcutRunsWithoutContext() {
        test::RecordingHelpEngine engine;
        const HelpKey key(engine);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *plain = new QLineEdit;
        auto *withHelp = new QLineEdit;
        layout->addWidget(plain);
        layout->addWidget(withHelp);
        setHelpContext(withHelp, 10050);
        int contents = 0;
        auto *action = new QAction(&window);
        action->setShortcut(Qt::Key_F1);
        window.addAction(action);
        connect(action, &QAction::triggered, this, [&contents] { ++contents; });
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        plain->setFocus();
        QTest::keyClick(plain, Qt::Key_F1);
        QCOMPARE(contents, 1);
        QCOMPARE(engine.requests, QStringList());

        withHelp->setFocus();
        QTest::keyClick(withHelp, Qt::Key_F1);
        QCOMPARE(contents, 1);
        QCOMPARE(engine.requests, contextRequest(10050));
    }

    void goneKeyOpensNothing() {
        test::RecordingHelpEngine engine;
        Windows w;
        setHelpContext(w.field, 10049);
        { const HelpKey key(engine); }
        QTest::keyClick(w.field, Qt::Key_F1);
        QCOMPARE(engine.requests, QStringList());
    }
};

QTEST_MAIN(TestHelpKey)
#include "tst_helpkey.moc"
