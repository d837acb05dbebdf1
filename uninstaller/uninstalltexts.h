#pragma once
// Every text the uninstaller shows. Kept in one place so the tests and the
// program agree on each byte.

#include <QString>

namespace kelvari::uninst {

QString captionText();      // "Orlin-Uninstaller 2.02"
QString aboutCaptionText(); // "バージョン情報"
QString startQuestionText();
QString settingsQuestionText();
QString wrongScriptText();
// `fileName` is the script's name without its folder.
QString scriptMissingText(const QString &fileName);
QString emptyScriptText(const QString &fileName);

// Messages that stop a run that may already have changed things.
QString scriptUnreadableText(const QString &scriptPath);
QString sectionEndMissingText(const QString &scriptPath, int lineNumber, const QString &header);
QString noOpenKeyText(const QString &scriptPath, int lineNumber, const QString &valueName);
// A "String=" line whose value name or text holds bytes that are no characters.
QString inexactValueText(const QString &scriptPath, int lineNumber, const QString &valueName);
QString valueRefusedText(const QString &scriptPath, int lineNumber, const QString &valueName,
                         const QString &keyText, const QString &reason);

QString finalReportText(bool folderRemoved, bool settingsDeleted);
// `date` is already in the system's short date format.
QString aboutText(const QString &date);

} // namespace kelvari::uninst
