#include "uninstaller/uninstalltexts.h"

namespace kelvari::uninst {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString cannotUninstall() {
    return QStringLiteral("アンインストール出来ませんでした。");
}
QString stopped() {
    return QStringLiteral("アンインストールを中止しました。");
}

// A file named the way the missing-script message frames it.
QString framed(const QString &name) {
    return QStringLiteral("\" ") + name + QStringLiteral(" \"");
}

QString valueLabel(const QString &valueName) {
    return valueName.isEmpty() ? QStringLiteral("(既定)") : valueName;
}

} // namespace

QString captionText() {
    return QStringLiteral("Orlin-Uninstaller 2.02");
}
QString aboutCaptionText() {
    return QStringLiteral("バージョン情報");
}
QString startQuestionText() {
    return QStringLiteral("アンインストールを始めてよろしいですか?");
}
QString settingsQuestionText() {
    return QStringLiteral("設定情報を削除しますか?");
}

QString wrongScriptText() {
    return QStringLiteral("アンインストールに使うファイルが違います") + kCrLf + cannotUninstall();
}

QString scriptMissingText(const QString &fileName) {
    return framed(fileName) + QStringLiteral("が見つかりません。") + kCrLf + cannotUninstall();
}

QString emptyScriptText(const QString &fileName) {
    return framed(fileName) + QStringLiteral("は空のファイルです。") + kCrLf + cannotUninstall();
}

QString scriptUnreadableText(const QString &scriptPath) {
    return framed(scriptPath) + QStringLiteral("を読み込めませんでした。") + kCrLf + stopped();
}

QString sectionEndMissingText(const QString &scriptPath, int lineNumber, const QString &header) {
    return framed(scriptPath) +
           QStringLiteral("の %1 行目の %2 に \"end;\" の行がありません。")
               .arg(lineNumber)
               .arg(header) +
           kCrLf + stopped();
}

QString noOpenKeyText(const QString &scriptPath, int lineNumber, const QString &valueName) {
    return framed(scriptPath) +
           QStringLiteral("の %1 行目: 値 \"%2\" を書き込むキーが開かれていません。")
               .arg(lineNumber)
               .arg(valueLabel(valueName)) +
           kCrLf + stopped();
}

QString inexactValueText(const QString &scriptPath, int lineNumber, const QString &valueName) {
    return framed(scriptPath) +
           QStringLiteral(
               "の %1 行目: 値 \"%2\" の名前か文字列に、文字として読めないバイトがあります。")
               .arg(lineNumber)
               .arg(valueLabel(valueName)) +
           kCrLf + stopped();
}

QString valueRefusedText(const QString &scriptPath, int lineNumber, const QString &valueName,
                         const QString &keyText, const QString &reason) {
    QString text = framed(scriptPath) +
                   QStringLiteral("の %1 行目: 値 \"%2\" をキー %3 に書き込めませんでした。")
                       .arg(lineNumber)
                       .arg(valueLabel(valueName), keyText);
    if (!reason.isEmpty())
        text += kCrLf + reason;
    return text + kCrLf + stopped();
}

QString finalReportText(bool folderRemoved, bool settingsDeleted) {
    const QString filesRemain =
        QStringLiteral(">>インストールした以外のファイルが、フォルダ内に残っています。");
    const QString settingsKept = QStringLiteral(">>設定情報は、残されました。");
    QString rest;
    if (folderRemoved && settingsDeleted)
        rest = QStringLiteral(">>ファイル・フォルダ・設定情報の全てが削除されました。");
    else if (settingsDeleted)
        rest = filesRemain;
    else if (folderRemoved)
        rest = settingsKept;
    else
        rest = filesRemain + kCrLf + settingsKept;
    return QStringLiteral("アンインストールは無事終了しました。") + kCrLf + kCrLf + rest;
}

QString aboutText(const QString &date) {
    return QStringLiteral("Orlin-Uninstaller Ver2.02") + kCrLf + kCrLf +
           QStringLiteral("製作日：") + date + kCrLf + kCrLf +
           QStringLiteral("このファイルは、製作者の作ったアプリケーションの") + kCrLf +
           QStringLiteral("アンインストールに必要なので、削除しないで下さい。");
}

} // namespace kelvari::uninst
