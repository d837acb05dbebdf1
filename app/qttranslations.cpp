#include "app/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace kelvari {

bool installQtTranslations(QCoreApplication &app, const QLocale &locale) {
    // "qt_<language>" gathers the catalogues of every Qt module.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    // The application keeps it for its life.
    translator->setParent(&app);
    return QCoreApplication::installTranslator(translator.release());
}

} // namespace kelvari
