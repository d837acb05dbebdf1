#include "platform/singleinstance.h"
#include "tests/support/testdataroot.h"

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
        QVERIFY(!instance.tryAcquire());
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
        QVERIFY(!second.tryAcquire());
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
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
