#pragma once
// Qt's own texts (the buttons and labels of its file, font and message dialogs)
// in the user's language, from the translations installed with Qt.

class QCoreApplication;
class QLocale;

namespace kelvari {

// Installs Qt's translation for `locale` into `app`; false when none is installed
// for that language (Qt's dialogs then speak English).
bool installQtTranslations(QCoreApplication &app, const QLocale &locale);

} // namespace kelvari
