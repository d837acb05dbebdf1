// The layers of the source tree, as the build must keep them: which folder may
// include which, and which kind of library may use which. The test reads the
// libraries from the CMake files (every library goes through kelvari_library) and
// every #include "…" of the tree, so a new dependency that breaks the layering
// fails here instead of slowly knotting the code together.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTest>

namespace {

// Folders of the program and the folders each may include from (besides itself).
// Lower folders never include higher ones, and no two folders include each other.
const QHash<QString, QStringList> &allowedFolders() {
    static const QHash<QString, QStringList> table = {
        {QStringLiteral("platform"), {}},
        {QStringLiteral("widgets"), {QStringLiteral("platform")}},
        {QStringLiteral("grid"), {QStringLiteral("platform")}},
        {QStringLiteral("settings"), {QStringLiteral("platform"), QStringLiteral("widgets")}},
        {QStringLiteral("document"),
         {QStringLiteral("platform"), QStringLiteral("grid"), QStringLiteral("widgets")}},
        {QStringLiteral("check"),
         {QStringLiteral("platform"), QStringLiteral("grid"), QStringLiteral("document"),
          QStringLiteral("settings"), QStringLiteral("widgets")}},
        {QStringLiteral("interop"),
         {QStringLiteral("platform"), QStringLiteral("grid"), QStringLiteral("document"),
          QStringLiteral("check")}},
        {QStringLiteral("cli"),
         {QStringLiteral("platform"), QStringLiteral("grid"), QStringLiteral("document"),
          QStringLiteral("check"), QStringLiteral("interop")}},
        {QStringLiteral("install"),
         {QStringLiteral("platform"), QStringLiteral("settings"), QStringLiteral("widgets")}},
        {QStringLiteral("uninstaller"), {QStringLiteral("platform")}},
        {QStringLiteral("app"),
         {QStringLiteral("platform"), QStringLiteral("widgets"), QStringLiteral("grid"),
          QStringLiteral("settings"), QStringLiteral("document"), QStringLiteral("check"),
          QStringLiteral("install"), QStringLiteral("interop")}},
    };
    return table;
}

enum class Layer { Platform, PlatformUi, Core, Widgets };

// Every library of the tree and its layer. A library missing here fails the test:
// a new one must say where it stands.
const QHash<QString, Layer> &libraryLayers() {
    static const QHash<QString, Layer> table = {
        {QStringLiteral("kelvari_platform"), Layer::Platform},
        {QStringLiteral("kelvari_platform_ui"), Layer::PlatformUi},
        {QStringLiteral("kelvari_answerfiledialogs"), Layer::PlatformUi},
        {QStringLiteral("kelvari_help_ui"), Layer::Widgets},
        {QStringLiteral("kelvari_widgets"), Layer::Widgets},
        {QStringLiteral("kelvari_grid"), Layer::Core},
        {QStringLiteral("kelvari_grid_ui"), Layer::Widgets},
        {QStringLiteral("kelvari_settings"), Layer::Core},
        {QStringLiteral("kelvari_settings_ui"), Layer::Widgets},
        {QStringLiteral("kelvari_document"), Layer::Core},
        {QStringLiteral("kelvari_document_ui"), Layer::Widgets},
        {QStringLiteral("kelvari_check"), Layer::Core},
        {QStringLiteral("kelvari_check_ui"), Layer::Widgets},
        {QStringLiteral("kelvari_cli"), Layer::Core},
        {QStringLiteral("kelvari_interop"), Layer::Core},
        {QStringLiteral("kelvari_install"), Layer::Core},
        {QStringLiteral("kelvari_install_ui"), Layer::Widgets},
        {QStringLiteral("kelvari_uninstaller"), Layer::Core},
        {QStringLiteral("kelvari_app_core"), Layer::Core},
        {QStringLiteral("kelvari_app"), Layer::Widgets},
    };
    return table;
}

// Which layers a layer may use.
bool mayUse(Layer user, Layer used) {
    switch (user) {
    case Layer::Platform:
        return used == Layer::Platform;
    case Layer::PlatformUi:
        return used == Layer::Platform || used == Layer::PlatformUi;
    case Layer::Core:
        return used == Layer::Platform || used == Layer::Core;
    case Layer::Widgets:
        return true;
    }
    return false;
}

// What a library links that is not one of ours: Qt modules and their layer.
std::optional<Layer> outsideLibraryLayer(const QString &name) {
    if (name == QStringLiteral("Qt6::Core") || name.startsWith(QStringLiteral("ICU::")))
        return Layer::Platform;
    if (name == QStringLiteral("Qt6::Gui") || name == QStringLiteral("Qt6::Widgets") ||
        name == QStringLiteral("Qt6::Help"))
        return Layer::PlatformUi;
    return std::nullopt;
}

struct Library {
    QString name;
    QString folder;
    QStringList sources; // relative to the folder
    QStringList libs;
};

QString sourceRoot() {
    return QStringLiteral(KELVARI_SOURCE_DIR);
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The kelvari_library(NAME SOURCES … LIBS …) calls of one folder's CMake files.
QList<Library> librariesOf(const QString &folder) {
    QList<Library> libraries;
    const QDir dir(sourceRoot() + QLatin1Char('/') + folder);
    const QStringList cmakeFiles =
        dir.entryList({QStringLiteral("*.txt"), QStringLiteral("*.cmake")});
    static const QRegularExpression call(QStringLiteral("kelvari_library\\(([^)]*)\\)"));
    static const QRegularExpression comment(QStringLiteral("#[^\n]*"));
    for (const QString &name : cmakeFiles) {
        QString text = QString::fromUtf8(readAll(dir.filePath(name)));
        text.remove(comment);
        for (auto match = call.globalMatch(text); match.hasNext();) {
            const QStringList words = match.next().captured(1).split(
                QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
            if (words.isEmpty())
                continue;
            Library library{words.first(), folder, {}, {}};
            QStringList *list = nullptr;
            for (const QString &word : words.mid(1)) {
                if (word == QStringLiteral("SOURCES"))
                    list = &library.sources;
                else if (word == QStringLiteral("LIBS"))
                    list = &library.libs;
                else if (list)
                    list->append(word);
            }
            libraries.append(library);
        }
    }
    return libraries;
}

struct Include {
    QString file; // the including file, relative to the source root
    int line;
    QString target; // "folder/name.h"
};

QList<Include> includesOf(const QString &folder) {
    QList<Include> includes;
    static const QRegularExpression quoted(QStringLiteral("^\\s*#\\s*(?:include)\\s*\"([^\"]+)\""));
    QDirIterator it(sourceRoot() + QLatin1Char('/') + folder,
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(sourceRoot()).relativeFilePath(path);
        const QList<QByteArray> lines = readAll(path).split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            const auto match = quoted.match(QString::fromUtf8(lines[i]));
            if (match.hasMatch())
                includes.append({relative, i + 1, match.captured(1)});
        }
    }
    return includes;
}

QString folderOf(const QString &relativePath) {
    return relativePath.section(QLatin1Char('/'), 0, 0);
}

} // namespace

class TestLayers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyLibraryHasALayer();
    void librariesLinkOnlyWhatTheirLayerMayUse();
    void foldersIncludeOnlyLowerFolders();
    void filesIncludeOnlyWhatTheirLibraryMayUse();
    void noTwoFoldersIncludeEachOther();

private:
    // The tree, read once: every library of the CMake files, every include.
    QList<Library> m_libraries;
    QHash<QString, QList<Include>> m_includes; // by folder
};

void TestLayers::initTestCase() {
    for (auto it = allowedFolders().cbegin(); it != allowedFolders().cend(); ++it) {
        m_libraries += librariesOf(it.key());
        m_includes.insert(it.key(), includesOf(it.key()));
    }
}

void TestLayers::everyLibraryHasALayer() {
    QVERIFY(m_libraries.size() >= 10); // the CMake files were found and read
    for (const Library &library : m_libraries)
        QVERIFY2(libraryLayers().contains(library.name), qPrintable(library.name));
}

void TestLayers::librariesLinkOnlyWhatTheirLayerMayUse() {
    for (const Library &library : m_libraries) {
        const Layer layer = libraryLayers().value(library.name, Layer::Widgets);
        for (const QString &lib : library.libs) {
            std::optional<Layer> used = outsideLibraryLayer(lib);
            if (!used && libraryLayers().contains(lib))
                used = libraryLayers().value(lib);
            if (!used)
                continue; // options and the like
            QVERIFY2(mayUse(layer, *used),
                     qPrintable(QStringLiteral("%1 links %2").arg(library.name, lib)));
        }
    }
}

void TestLayers::foldersIncludeOnlyLowerFolders() {
    for (auto it = allowedFolders().cbegin(); it != allowedFolders().cend(); ++it) {
        for (const Include &include : m_includes.value(it.key())) {
            const QString target = folderOf(include.target);
            if (target == it.key() || !allowedFolders().contains(target))
                continue;
            QVERIFY2(it.value().contains(target), qPrintable(QStringLiteral("%1:%2 includes %3")
                                                                 .arg(include.file)
                                                                 .arg(include.line)
                                                                 .arg(include.target)));
        }
    }
}

void TestLayers::filesIncludeOnlyWhatTheirLibraryMayUse() {
    // Which library a file of the tree belongs to ("" for a program's own file).
    QHash<QString, QString> owner;
    for (const Library &library : m_libraries) {
        for (const QString &source : library.sources)
            owner.insert(library.folder + QLatin1Char('/') + source, library.name);
    }
    for (auto it = m_includes.cbegin(); it != m_includes.cend(); ++it) {
        for (const Include &include : it.value()) {
            const QString from = owner.value(include.file);
            const QString to = owner.value(include.target);
            if (from.isEmpty() || to.isEmpty() || from == to)
                continue;
            QVERIFY2(mayUse(libraryLayers().value(from), libraryLayers().value(to)),
                     qPrintable(QStringLiteral("%1:%2 (%3) includes %4 (%5)")
                                    .arg(include.file)
                                    .arg(include.line)
                                    .arg(from, include.target, to)));
        }
    }
}

// Every include between folders is checked against the table above, so the
// table itself must not let two folders include each other.
void TestLayers::noTwoFoldersIncludeEachOther() {
    for (auto it = allowedFolders().cbegin(); it != allowedFolders().cend(); ++it) {
        for (const QString &lower : it.value())
            QVERIFY2(!allowedFolders().value(lower).contains(it.key()),
                     qPrintable(
                         QStringLiteral("%1 and %2 may include each other").arg(it.key(), lower)));
    }
}

QTEST_GUILESS_MAIN(TestLayers)
#include "tst_layers.moc"
