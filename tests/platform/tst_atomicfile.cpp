// A save that runs out of room must leave the old file exactly as it was, leave
// no temporary file beside it and say that the disk is full. Every writer that
// replaces a file runs in a process of its own (atomicwritehelper): under a
// small file size limit, where writes past it fail with EFBIG, and for root
// also on a tiny tmpfs, where they fail with ENOSPC. Qt keeps up to 16 KB in
// its buffer, so a short file fails only at the very last write.

#include "platform/registry.h"
#include "tests/support/testdataroot.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace kelvari;
using namespace kelvari::test;

namespace {

const QString kDiskFull = QStringLiteral("ﾃﾞｨｽｸがいっぱいです");
constexpr qint64 kFileSizeLimit = 4096;
constexpr qint64 kTmpfsRoom = 8192; // left free on the tmpfs: two pages

struct Run {
    int status = -1;
    QString err;
};

Run runWriter(const QString &writer, const QString &path, int size, qint64 fileSizeLimit) {
    QProcess process;
#ifdef Q_OS_UNIX
    if (fileSizeLimit > 0) {
        process.setChildProcessModifier([fileSizeLimit] {
            // Past the limit write() then fails with EFBIG instead of killing the process.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = rlim_t(fileSizeLimit);
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
#else
    Q_UNUSED(fileSizeLimit);
#endif
    process.start(QStringLiteral(KELVARI_ATOMIC_WRITE_HELPER),
                  {writer, path, QString::number(size)});
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The file the writer is to replace, about 3 KB when `present`: for the
// registry ten values, as in a settings file.
QString prepareTarget(const QString &writer, const QString &folder, bool present) {
    if (writer == u"registry") {
        Registry registry(folder);
        if (present) {
            for (int i = 0; i < 10; ++i)
                registry.writeString(RegRoot::CurrentUser, "Software\\Test",
                                     "v" + QByteArray::number(i), QByteArray(270, 'o'));
        }
        return registry.fileFor(RegRoot::CurrentUser);
    }
    const QString path = QDir(folder).filePath(QStringLiteral("target.txt"));
    if (present)
        writeFileBytes(path, QByteArray("old,old,old\r\n").repeated(230));
    return path;
}

QStringList filesIn(const QString &folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

#ifdef Q_OS_LINUX
// A tmpfs of 64 KB mounted for the life of the object.
class SmallTmpfs {
public:
    explicit SmallTmpfs(const QString &path) : m_path(path) {
        QDir().mkpath(path);
        QProcess mount;
        mount.setProcessChannelMode(QProcess::MergedChannels);
        mount.start(QStringLiteral("mount"),
                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                     QStringLiteral("size=64k"), QStringLiteral("tmpfs"), path});
        if (!mount.waitForFinished(30000) || mount.exitStatus() != QProcess::NormalExit)
            m_failure = QStringLiteral("mount did not run");
        else if (mount.exitCode() != 0)
            m_failure = QString::fromLocal8Bit(mount.readAll()).trimmed();
    }
    ~SmallTmpfs() {
        if (m_failure.isEmpty())
            QProcess::execute(QStringLiteral("umount"), {m_path});
    }
    SmallTmpfs(const SmallTmpfs &) = delete;
    SmallTmpfs &operator=(const SmallTmpfs &) = delete;

    const QString &failure() const { return m_failure; }

    // Fills the file system up to `room` bytes with one file.
    bool fillLeaving(qint64 room) const {
        QFile filler(QDir(m_path).filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray page(4096, 'f');
        while (filler.write(page) == page.size()) {
        }
        // tmpfs counts whole pages: cut the filler back to a page boundary, less the room.
        return filler.resize(filler.size() / page.size() * page.size() - room);
    }

private:
    QString m_path;
    QString m_failure;
};
#endif

} // namespace

class TestAtomicFile : public QObject {
    Q_OBJECT
private slots:
    void saveUnderFileSizeLimit_data() { addSaveCases(); }
    void saveUnderFileSizeLimit() {
#ifdef Q_OS_UNIX
        QFETCH(QString, writer);
        QFETCH(int, size);
        QFETCH(bool, oldFile);
        QFETCH(bool, fits);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = prepareTarget(writer, dir.path(), oldFile);
        const QByteArray old = readFileBytes(path);
        const Run run = runWriter(writer, path, size, kFileSizeLimit);
        checkOutcome(run, path, old, oldFile, fits, {});
#else
        QSKIP("needs a file size limit");
#endif
    }

    void saveOnFullTmpfs_data() {
        addSaveCases();
    }
    void saveOnFullTmpfs() {
#ifdef Q_OS_LINUX
        if (geteuid() != 0)
            QSKIP("mounting a tmpfs needs root");
        QFETCH(QString, writer);
        QFETCH(int, size);
        QFETCH(bool, oldFile);
        QFETCH(bool, fits);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(QStringLiteral("fs"));
        SmallTmpfs tmpfs(folder);
        if (!tmpfs.failure().isEmpty())
            QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") + tmpfs.failure()));
        const QString path = prepareTarget(writer, folder, oldFile);
        const QByteArray old = readFileBytes(path);
        QVERIFY(tmpfs.fillLeaving(kTmpfsRoom));
        const Run run = runWriter(writer, path, size, 0);
        checkOutcome(run, path, old, oldFile, fits, {QStringLiteral("filler")});
#else
        QSKIP("needs a tmpfs");
#endif
    }

private:
    // Sizes below and above Qt's buffer, and one file that fits both under the
    // size limit and into the room left on the tmpfs.
    static void addSaveCases() {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("oldFile");
        QTest::addColumn<bool>("fits");
        for (const char *name : {"bytes", "pieces", "registry", "jmf", "grid"}) {
            const QString writer = QString::fromLatin1(name);
            QTest::addRow("%s, 10 KB, held in the buffer", name)
                << writer << 10 * 1024 << true << false;
            QTest::addRow("%s, 100 KB, past the buffer", name)
                << writer << 100 * 1024 << true << false;
            QTest::addRow("%s, fits", name) << writer << 3500 << true << true;
        }
        QTest::newRow("bytes, 10 KB, no old file")
            << QStringLiteral("bytes") << 10 * 1024 << false << false;
    }

    static void checkOutcome(const Run &run, const QString &path, const QByteArray &old,
                             bool oldFile, bool fits, QStringList others) {
        const QString folder = QFileInfo(path).path();
        if (fits) {
            QVERIFY2(run.status == 0, qPrintable(run.err));
            QVERIFY(readFileBytes(path) != old);
        } else {
            QCOMPARE(run.status, 2);
            QVERIFY2(run.err.contains(kDiskFull), qPrintable(run.err));
            QCOMPARE(readFileBytes(path), old);
        }
        if (fits || oldFile)
            others << QFileInfo(path).fileName();
        others.sort();
        QCOMPARE(filesIn(folder), others); // no temporary file left behind
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
