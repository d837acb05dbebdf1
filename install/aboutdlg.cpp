#include "install/aboutdlg.h"

#include "install/uninstallerplacement.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "platform/sjis.h"
#include "settings/settingsstore.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <string_view>

namespace kelvari {
namespace {

constexpr bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}
static_assert(endsWith(SettingsStore::kProductKey, TAboutDlg::kRegistryName),
              "the settings key is the one the installation record names");

} // namespace

TAboutDlg::TAboutDlg(QObject *parent) : QObject(parent) {}

QString TAboutDlg::ApplicationTitle() const {
    return m_productName + u' ' + m_version;
}

QByteArray TAboutDlg::UninstallKeyName() const {
    return QByteArray(kRegistryName) + sjis::encode(m_version).bytes;
}

QByteArray TAboutDlg::UninstallKey() const {
    return QByteArray(kUninstallListKey) + '\\' + UninstallKeyName();
}

QString TAboutDlg::UninstallString() const {
    return Folders::windowsFolder() + uninstallerFileName() + QStringLiteral(" /u ") +
           Folders::programFolder() + m_uninstFile + QStringLiteral(".inf");
}

QString TAboutDlg::uninstallerFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("OrlinUninst.exe");
#else
    return QStringLiteral("OrlinUninst");
#endif
}

QString TAboutDlg::finishMessageText() {
    return QStringLiteral("インストールは無事終了しました。");
}

InstallationCheck TAboutDlg::CheckInstallation() {
    Registry registry = Registry::forDataRoot();
    SettingsStore store(registry);
    const QByteArray version = sjis::encode(m_version).bytes;
    const QString programFolder = Folders::programFolder();
    // Without a known program folder the name alone would point into the current folder.
    const bool moveUninst = m_moveUninst && !programFolder.isEmpty();
    const QString source = programFolder + uninstallerFileName();
    const QString target = Folders::windowsFolder() + uninstallerFileName();
    // A run of the same version that had no uninstaller beside it (a run from the
    // build tree shares the default data root) would otherwise keep the first
    // real installation from ever placing its uninstaller.
    const bool uninstallerWaiting =
        moveUninst && QFileInfo(source).isFile() && !QFileInfo(target).isFile();
    if (store.ReadTextSetting({}, "Version", {}) == version && !uninstallerWaiting)
        return {};

    store.WriteTextSetting({}, "Version", version);
    InstallationCheck check;
    check.stepsRan = true;
    if (moveUninst)
        placeUninstaller(source, target); // a failed placement is tried again next start
    check.finishMessageDue = m_instFinishDlg;
    return check;
}

QString TAboutDlg::HelpFilePath() const {
    return Folders::programFolder() + m_helpFile + QStringLiteral(".hlp");
}

bool TAboutDlg::RegisterUninstall() {
    const sjis::EncodeResult title = sjis::encode(ApplicationTitle());
    const sjis::EncodeResult command = sjis::encode(UninstallString());
    if (!title.ok() || !command.ok()) {
        qWarning("The uninstall entry was not written: its paths cannot be stored as "
                 "registry text.");
        return false;
    }
    Registry registry = Registry::forDataRoot();
    const QByteArray key = UninstallKey();
    registry.createKey(RegRoot::LocalMachine, key);
    registry.writeString(RegRoot::LocalMachine, key, "DisplayName", title.bytes);
    registry.writeString(RegRoot::LocalMachine, key, "UninstallString", command.bytes);
    return true;
}

AboutContent TAboutDlg::aboutContent() const {
    AboutContent content;
    content.productName = m_productName;
    content.productPos = QPoint(m_productLeft, m_productTop);
    content.productFontSize = m_fontSize;
    content.versionText = QStringLiteral("Version ") + m_version;
    content.versionPos = QPoint(m_verLeft, m_verTop);
    const QDate made = QFileInfo(Folders::programPath()).lastModified().date();
    content.dateText =
        QStringLiteral("製作日：") + QLocale::system().toString(made, QLocale::ShortFormat);
    content.numberText = u'#' + m_number;
    return content;
}

void applyEditorValues(TAboutDlg &about) {
    about.setObjectName(QStringLiteral("AboutDlg"));
    about.setProductName(QStringLiteral("Kelvari"));
    about.setProductTop(16);
    about.setProductLeft(58);
    about.setVersion(QStringLiteral("2.0b"));
    about.setVerTop(40);
    about.setVerLeft(137);
    about.setNumber(QStringLiteral("14.2"));
    about.setFontSize(12);
    about.setHelpFile(QStringLiteral("Ruvex"));
    about.setInstFinishDlg(false);
    about.setMoveUninst(true);
    about.setUninstFile(QStringLiteral("UnRuvex"));
}

} // namespace kelvari
