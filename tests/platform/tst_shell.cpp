#include "platform/shell.h"
#include "tests/support/testdataroot.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvari;

namespace {

// A handler script that records its arguments and exits with `code`.
QString writeHandler(const QTemporaryDir &dir, const QString &name, int code) {
    const QString path = dir.filePath(name);
    const QByteArray script =
        "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\nexit " + QByteArray::number(code) + "\n";
    test::writeFileBytes(path, script);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QByteArray waitForArgs(const QString &handler) {
    const QString file = handler + QStringLiteral(".args");
    for (int waited = 0; waited < 20000; waited += 50) {
        const QByteArray args = test::readFileBytes(file);
        if (args.endsWith('\n'))
            return args;
        QTest::qWait(50);
    }
    return {};
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void openDocument_data() {
        QTest::addColumn<int>("handlerExit");
        QTest::addColumn<int>("result");
        QTest::newRow("opened") << 0 << 0;
        QTest::newRow("no tool") << 3 << Shell::kNoAssociation;
        QTest::newRow("action failed") << 4 << Shell::kNoAssociation;
        QTest::newRow("other failure") << 1 << Shell::kOtherFailure;
    }
    void openDocument() {
        QFETCH(int, handlerExit);
        QFETCH(int, result);
#ifndef Q_OS_UNIX
        QSKIP("the fake handler is a shell script");
#endif
        QTemporaryDir dir;
        const QString handler = writeHandler(dir, QStringLiteral("opener"), handlerExit);
        const QString document = dir.filePath(QStringLiteral("help file.hlp"));
        QVERIFY(test::writeFileBytes(document, "x"));
        test::ScopedEnv env("KELVARI_OPEN_COMMAND", QFile::encodeName(handler));
        QCOMPARE(Shell::openDocument(document), result);
        QCOMPARE(waitForArgs(handler), QFile::encodeName(document) + "\n");
    }

    void handlerFoundOnPath() {
#ifndef Q_OS_UNIX
        QSKIP("the fake handler is a shell script");
#endif
        QTemporaryDir dir;
        const QString handler = writeHandler(dir, QStringLiteral("xdg-open"), 0);
        const QString document = dir.filePath(QStringLiteral("a.txt"));
        QVERIFY(test::writeFileBytes(document, "x"));
        test::ScopedEnv unset("KELVARI_OPEN_COMMAND", QByteArray());
        test::ScopedEnv path("PATH", QFile::encodeName(dir.path()));
        QCOMPARE(Shell::openDocument(document), 0);
        QCOMPARE(waitForArgs(handler), QFile::encodeName(document) + "\n");
    }

    void noHandlerOrNoDocument() {
        QTemporaryDir dir;
        const QString document = dir.filePath(QStringLiteral("a.txt"));
        QVERIFY(test::writeFileBytes(document, "x"));
        test::ScopedEnv path("PATH", QFile::encodeName(dir.path())); // nothing to run here
        test::ScopedEnv open("KELVARI_OPEN_COMMAND", QByteArray());
        test::ScopedEnv viewer("KELVARI_TEXT_VIEWER", QByteArray());
        QCOMPARE(Shell::openDocument(document), Shell::kNoAssociation);
        QCOMPARE(Shell::openInTextViewer(document), Shell::kNoAssociation);
        QCOMPARE(Shell::openDocument(dir.filePath(QStringLiteral("none.txt"))),
                 Shell::kFileNotFound);
        QCOMPARE(Shell::openInTextViewer(dir.filePath(QStringLiteral("none.txt"))),
                 Shell::kFileNotFound);
        QVERIFY(!Shell::startDetached(dir.filePath(QStringLiteral("no-such-program")), {}));
    }

    void textViewerAndDetachedStart() {
#ifndef Q_OS_UNIX
        QSKIP("the fake programs are shell scripts");
#endif
        QTemporaryDir dir;
        const QString viewer = writeHandler(dir, QStringLiteral("viewer"), 0);
        const QString document = dir.filePath(QStringLiteral("辞書.jmf"));
        QVERIFY(test::writeFileBytes(document, "x"));
        test::ScopedEnv env("KELVARI_TEXT_VIEWER", QFile::encodeName(viewer));
        QCOMPARE(Shell::openInTextViewer(document), 0);
        QCOMPARE(waitForArgs(viewer), QFile::encodeName(document) + "\n");

        const QString program = writeHandler(dir, QStringLiteral("utility"), 0);
        QVERIFY(Shell::startDetached(program, {QStringLiteral("a b"), QStringLiteral("c")},
                                     dir.path()));
        QCOMPARE(waitForArgs(program), QByteArray("a b\nc\n"));
    }
};

QTEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
