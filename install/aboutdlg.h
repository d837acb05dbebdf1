#pragma once
// The editor's identity and its installation record in one component: the
// about box's contents, the help file's path, the first-start steps of a version
// and the entry in the list of installed programs. Nothing here shows a window;
// install/aboutbox.h puts the results on screen.

#include <QByteArray>
#include <QObject>
#include <QPoint>
#include <QString>

namespace kelvari {

class Registry;

// What the about box shows, filled from the component's properties.
struct AboutContent {
    QString productName;
    QPoint productPos;   // in the white panel
    int productFontSize; // points
    QString versionText; // "Version 2.0b"
    QPoint versionPos;
    QString dateText;   // "製作日：" and the program file's date
    QString numberText; // "#14.2"
};

// The outcome of CheckInstallation.
struct InstallationCheck {
    bool stepsRan = false;
    bool finishMessageDue = false; // InstFinishDlg and the steps ran
};

class TAboutDlg : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ProductName READ ProductName WRITE setProductName)
    Q_PROPERTY(int ProductTop READ ProductTop WRITE setProductTop)
    Q_PROPERTY(int ProductLeft READ ProductLeft WRITE setProductLeft)
    Q_PROPERTY(QString Version READ Version WRITE setVersion)
    Q_PROPERTY(int VerTop READ VerTop WRITE setVerTop)
    Q_PROPERTY(int VerLeft READ VerLeft WRITE setVerLeft)
    Q_PROPERTY(QString Number READ Number WRITE setNumber)
    Q_PROPERTY(int FontSize READ FontSize WRITE setFontSize)
    Q_PROPERTY(QString HelpFile READ HelpFile WRITE setHelpFile)
    Q_PROPERTY(bool InstFinishDlg READ InstFinishDlg WRITE setInstFinishDlg)
    Q_PROPERTY(bool MoveUninst READ MoveUninst WRITE setMoveUninst)
    Q_PROPERTY(QString UninstFile READ UninstFile WRITE setUninstFile)

public:
    // The product's name in the registry: the settings key is Software\Vesk\Pomwick
    // and the uninstall entry's name starts with it.
    static constexpr const char *kRegistryName = "Pomwick";
    // Where the list of installed programs keeps its entries, under HKEY_LOCAL_MACHINE.
    static constexpr const char *kUninstallListKey =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

    explicit TAboutDlg(QObject *parent = nullptr);

    QString ProductName() const { return m_productName; }
    void setProductName(const QString &name) { m_productName = name; }
    int ProductTop() const { return m_productTop; }
    void setProductTop(int top) { m_productTop = top; }
    int ProductLeft() const { return m_productLeft; }
    void setProductLeft(int left) { m_productLeft = left; }
    QString Version() const { return m_version; }
    void setVersion(const QString &version) { m_version = version; }
    int VerTop() const { return m_verTop; }
    void setVerTop(int top) { m_verTop = top; }
    int VerLeft() const { return m_verLeft; }
    void setVerLeft(int left) { m_verLeft = left; }
    QString Number() const { return m_number; }
    void setNumber(const QString &number) { m_number = number; }
    int FontSize() const { return m_fontSize; }
    void setFontSize(int size) { m_fontSize = size; }
    QString HelpFile() const { return m_helpFile; }
    void setHelpFile(const QString &baseName) { m_helpFile = baseName; }
    bool InstFinishDlg() const { return m_instFinishDlg; }
    void setInstFinishDlg(bool show) { m_instFinishDlg = show; }
    bool MoveUninst() const { return m_moveUninst; }
    void setMoveUninst(bool move) { m_moveUninst = move; }
    QString UninstFile() const { return m_uninstFile; }
    void setUninstFile(const QString &baseName) { m_uninstFile = baseName; }

    // "Kelvari 2.0b": the caption of the finish message and the entry's display name.
    QString ApplicationTitle() const;
    // "Pomwick2.0b".
    QByteArray UninstallKeyName() const;
    // The entry's key under HKEY_LOCAL_MACHINE.
    QByteArray UninstallKey() const;
    // Windows folder + "OrlinUninst /u " + program folder + UninstFile + ".inf",
    // nothing quoted.
    QString UninstallString() const;

    // Runs the first-start steps when this version is not installed yet. Throws
    // AppError when the registry refuses; file failures are passed over.
    InstallationCheck CheckInstallation();
    // Program folder + HelpFile + ".hlp".
    QString HelpFilePath() const;
    // Writes DisplayName and UninstallString. False (and nothing written) when a
    // path cannot be stored as registry text; throws AppError when the registry refuses.
    bool RegisterUninstall();
    // What the about box shows now.
    AboutContent aboutContent() const;

    // The uninstaller's file name on this platform.
    static QString uninstallerFileName();
    // "インストールは無事終了しました。"
    static QString finishMessageText();

private:
    QString m_productName;
    int m_productTop = 16;
    int m_productLeft = 60;
    QString m_version;
    int m_verTop = 45;
    int m_verLeft = 137;
    QString m_number;
    int m_fontSize = 13;
    QString m_helpFile;
    bool m_instFinishDlg = true;
    bool m_moveUninst = true;
    QString m_uninstFile;
};

// The values the editor's main window gives its about component.
void applyEditorValues(TAboutDlg &about);

} // namespace kelvari
