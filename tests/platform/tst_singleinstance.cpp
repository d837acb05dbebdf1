#include "platform/singleinstance.h"
#include "tests/support/testdataroot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <memory>

using namespace kelvari;

namespace {

const QString kMutex = QStringLiteral("hTarnel20b");

// A second process that holds the mutex until its input is closed.
std::unique_ptr<QProcess>
startHolder(const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment()) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->start(QStringLiteral(KELVARI_PLATFORM_HELPER), {QStringLiteral("hold"), kMutex});
    if (!process->waitForStarted() || !process->waitForReadyRead(30000))
        return nullptr;
    return process;
}

int tryInOtherProcess() {
    QProcess process;
    process.start(QStringLiteral(KELVARI_PLATFORM_HELPER), {QStringLiteral("try"), kMutex});
    if (!process.waitForFinished(30000))
        return -1;
    return process.exitCode();
}

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

QString failure(const QString &folder, const QString &reason) {
    return QStringLiteral("フォルダ \"%1\" にロックファイルを作れません。(%2)")
        .arg(shown(folder), reason);
}

// Takes the write permission of a folder away for the life of the object.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString path)
        : m_path(std::move(path)), m_permissions(QFile::permissions(m_path)) {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser |
                                          QFile::ExeUser);
    }
    ~ReadOnlyFolder() { QFile::setPermissions(m_path, m_permissions); }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

private:
    QString m_path;
    QFile::Permissions m_permissions;
};

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void secondProcessIsRefused() {
        test::TestDataRoot root;
        auto holder = startHolder();
        QVERIFY(holder);
        QCOMPARE(holder->readLine().trimmed(), QByteArray("held"));
        SingleInstance instance(kMutex);
        QCOMPARE(instance.acquire(), SingleInstance::Outcome::HeldElsewhere);
        QVERIFY(!instance.isHeld());

        holder->closeWriteChannel();
        QVERIFY(holder->waitForFinished(30000));
        QVERIFY(instance.tryAcquire());
        QVERIFY(instance.isHeld());
        QCOMPARE(tryInOtherProcess(), 1);
        instance.release();
        QVERIFY(!instance.isHeld());
        QCOMPARE(tryInOtherProcess(), 0);
    }

    void sameProcessSecondObjectIsRefused() {
        test::TestDataRoot root;
        SingleInstance first(kMutex);
        SingleInstance second(kMutex);
        QVERIFY(first.tryAcquire());
        QCOMPARE(second.acquire(), SingleInstance::Outcome::HeldElsewhere);
        QVERIFY(QFileInfo::exists(SingleInstance::lockPathFor(kMutex)));
    }

    void lockOfDeadProcessIsTakenOver() {
        test::TestDataRoot root;
        auto holder = startHolder();
        QVERIFY(holder);
        QCOMPARE(holder->readLine().trimmed(), QByteArray("held"));
        holder->kill(); // no chance to clean up: the lock file stays behind
        QVERIFY(holder->waitForFinished(30000));
        QVERIFY(QFileInfo::exists(SingleInstance::lockPathFor(kMutex)));
        SingleInstance instance(kMutex);
        QVERIFY(instance.tryAcquire());
    }

    void eachDataRootIsItsOwnDesktop() {
        test::TestDataRoot root;
        SingleInstance instance(kMutex);
        QVERIFY(instance.tryAcquire());
        test::TestDataRoot other;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KELVARI_HOME"), other.path());
        auto holder = startHolder(env);
        QVERIFY(holder);
        QCOMPARE(holder->readLine().trimmed(), QByteArray("held"));
        holder->closeWriteChannel();
        QVERIFY(holder->waitForFinished(30000));
    }

    // Only a live owner means another copy runs. Anything else that keeps the
    // lock file from being made is a failure that names the folder and the reason.
    void lockThatCannotBeMadeIsAFailure_data() {
        QTest::addColumn<QString>("home");     // the data root, in the temporary folder
        QTest::addColumn<QString>("obstacle"); // what stands in the way
        QTest::addColumn<bool>("isFolder");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason"); // %1: the obstacle
        const QString lock = QStringLiteral("root/locks/") + kMutex + QStringLiteral(".lock");
        const QString notFolder = QStringLiteral("\"%1\" はフォルダではありません");
        QTest::newRow("locks is a file") << QStringLiteral("root") << QStringLiteral("root/locks")
                                         << false << QByteArray("x") << notFolder;
        QTest::newRow("data root under a file")
            << QStringLiteral("plain/root") << QStringLiteral("plain") << false << QByteArray("x")
            << notFolder;
        QTest::newRow("lock is a folder") << QStringLiteral("root") << lock << true << QByteArray()
                                          << QStringLiteral("\"%1\" はファイルではありません");
        // A lock file that names no owner is no sign of a running copy.
        QTest::newRow("lock names no owner")
            << QStringLiteral("root") << lock << false << QByteArray("damaged\n")
            << QStringLiteral("ロックファイル \"%1\" を読めません");
    }

    void lockThatCannotBeMadeIsAFailure() {
        QFETCH(QString, home);
        QFETCH(QString, obstacle);
        QFETCH(bool, isFolder);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        test::TestDataRoot temporary;
        const QString obstaclePath = temporary.filePath(obstacle);
        if (isFolder)
            QVERIFY(QDir().mkpath(obstaclePath));
        else
            QVERIFY(test::writeFileBytes(obstaclePath, content));
        test::ScopedEnv root("KELVARI_HOME", QFile::encodeName(temporary.filePath(home)));

        SingleInstance instance(kMutex);
        QCOMPARE(instance.acquire(), SingleInstance::Outcome::Failed);
        QVERIFY(!instance.isHeld());
        QCOMPARE(instance.errorString(),
                 failure(temporary.filePath(home + QStringLiteral("/locks")),
                         reason.arg(shown(obstaclePath))));
        // Nothing was taken away.
        QVERIFY(QFileInfo::exists(obstaclePath));
    }

    void readOnlyDataRootIsAFailure_data() {
        QTest::addColumn<bool>("locksExists");
        QTest::newRow("data root") << false;
        QTest::newRow("locks folder") << true;
    }

    void readOnlyDataRootIsAFailure() {
        QFETCH(bool, locksExists);
        test::TestDataRoot root;
        const QString locks = root.filePath(QStringLiteral("locks"));
        if (locksExists)
            QVERIFY(QDir().mkpath(locks));
        ReadOnlyFolder readOnly(locksExists ? locks : root.path());
        if (QFileInfo(locksExists ? locks : root.path()).isWritable())
            QSKIP("This user (root) writes into read-only folders all the same.");
        SingleInstance instance(kMutex);
        QCOMPARE(instance.acquire(), SingleInstance::Outcome::Failed);
        QCOMPARE(instance.errorString(),
                 failure(locks, QStringLiteral("ﾌｧｲﾙへのｱｸｾｽが拒否されました")));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
