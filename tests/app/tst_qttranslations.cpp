// Qt's own dialogs speak the user's language: its translations load for the
// locale asked for, whatever the locale of the machine running the test.

#include "app/qttranslations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTest>

using namespace kelvari;

class TestQtTranslations : public QObject {
    Q_OBJECT
private slots:
    void japaneseLocaleTranslatesQtsTexts() {
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
        QVERIFY(installQtTranslations(*QCoreApplication::instance(),
                                      QLocale(QLocale::Japanese, QLocale::Japan)));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("キャンセル"));
    }

    void noTranslationForEnglish() {
        QVERIFY(!installQtTranslations(*QCoreApplication::instance(),
                                       QLocale(QLocale::English, QLocale::UnitedStates)));
    }
};

QTEST_GUILESS_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
