#include "install/uninstallscript.h"

#include "install/aboutdlg.h"
#include "platform/sjis.h"

#include <QSet>

namespace kelvari {

std::optional<QByteArray> editorUninstallScript(const QStringList &programFolderFiles,
                                                QString *problem) {
    auto fail = [problem](const QString &text) -> std::optional<QByteArray> {
        if (problem)
            *problem = text;
        return std::nullopt;
    };
    TAboutDlg about;
    applyEditorValues(about);
    const QString self = about.UninstFile() + QStringLiteral(".inf"); // "UnRuvex.inf"

    QStringList files;
    QSet<QString> seen;
    for (const QString &name : programFolderFiles) {
        if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.contains(u':'))
            return fail(QStringLiteral("not a plain file name: \"%1\"").arg(name));
        if (seen.contains(name))
            return fail(QStringLiteral("named twice: %1").arg(name));
        seen.insert(name);
        if (name != self)
            files.append(name);
    }
    if (!seen.contains(self))
        return fail(QStringLiteral("the list lacks the script itself, %1").arg(self));
    // Read once per section, so the script may delete itself; last keeps that obvious.
    files.append(self);

    QStringList lines = {
        QStringLiteral("//Orlin-Uninstaller  ") + about.ApplicationTitle(),
        QStringLiteral("[Warning]"),
        about.ApplicationTitle() + QStringLiteral(" をパソコンから削除します。"),
        QStringLiteral("作成した辞書ファイル(*.jmf)は削除されません。"),
        QStringLiteral("end;"),
        QStringLiteral("[DeleteReg]"),
        QStringLiteral("Uninst=") + sjis::decode(about.UninstallKeyName()),
        QStringLiteral("Inst=") + QString::fromLatin1(TAboutDlg::kRegistryName),
        // The association the editor writes at every start.
        QStringLiteral("Key=HCR\\.jmf"),
        QStringLiteral("Key=HCR\\JishoMakeFile"),
        QStringLiteral("end;"),
        QStringLiteral("[DeleteFile]"),
    };
    lines += files;
    lines.append(QStringLiteral("end;"));

    QByteArray script;
    for (const QString &line : lines) {
        const sjis::EncodeResult bytes = sjis::encode(line);
        if (!bytes.ok())
            return fail(QStringLiteral("not storable in the script: \"%1\"").arg(line));
        script += bytes.bytes + "\r\n";
    }
    return script;
}

} // namespace kelvari
