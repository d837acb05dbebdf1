#include "platform/qtdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace kelvari;

namespace {

// Acts on the message box once it runs, then makes sure it is closed.
template <typename Dialog> void whenOpens(std::function<void(Dialog &)> act) {
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        act(*dialog);
        if (dialog->isVisible())
            static_cast<QDialog *>(dialog)->done(-1);
    });
    timer->start();
}

void whenBoxOpens(std::function<void(QMessageBox &)> act) {
    whenOpens<QMessageBox>(act);
}

QStringList captionsOf(const QMessageBox &box) {
    QStringList captions;
    const auto buttons = box.buttons();
    for (const QAbstractButton *button : buttons)
        captions << button->text();
    captions.sort();
    return captions;
}

QAbstractButton *buttonCaptioned(QMessageBox &box, const QString &caption) {
    const auto buttons = box.buttons();
    for (QAbstractButton *button : buttons) {
        if (button->text() == caption)
            return button;
    }
    return nullptr;
}

} // namespace

class TestQtDialogs : public QObject {
    Q_OBJECT
private slots:
    // Each button carries its Japanese caption and answers its code.
    void buttons_data() {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("result");
        const MessageButtons yesNoCancel =
            MessageButton::Yes | MessageButton::No | MessageButton::Cancel;
        const MessageButtons abortRetryIgnore =
            MessageButton::Abort | MessageButton::Retry | MessageButton::Ignore;
        QTest::newRow("OK") << MessageButtons(MessageButton::Ok) << QStringLiteral("OK") << 1;
        QTest::newRow("Yes") << yesNoCancel << QStringLiteral("はい(&Y)") << 6;
        QTest::newRow("No") << yesNoCancel << QStringLiteral("いいえ(&N)") << 7;
        QTest::newRow("Cancel") << yesNoCancel << QStringLiteral("ｷｬﾝｾﾙ") << 2;
        QTest::newRow("Abort") << abortRetryIgnore << QStringLiteral("中止(&A)") << 3;
        QTest::newRow("Retry") << abortRetryIgnore << QStringLiteral("再試行(&R)") << 4;
        QTest::newRow("Ignore") << abortRetryIgnore << QStringLiteral("無視(&I)") << 5;
        QTest::newRow("All") << (MessageButton::Yes | MessageButton::All)
                             << QStringLiteral("すべて") << 8;
    }
    void buttons() {
        QFETCH(MessageButtons, buttons);
        QFETCH(QString, press);
        QFETCH(int, result);
        QStringList expectedCaptions;
        for (unsigned bit = 1; bit <= unsigned(MessageButton::All); bit <<= 1) {
            if (buttons.testFlag(MessageButton(bit)))
                expectedCaptions << captionFor(MessageButton(bit));
        }
        expectedCaptions.sort();

        QtDialogs dialogs;
        MessageRequest request;
        request.kind = MessageKind::Confirmation;
        request.text = QStringLiteral("変更を保存しますか？");
        request.buttons = buttons;
        QStringList shownCaptions;
        whenBoxOpens([&](QMessageBox &box) {
            shownCaptions = captionsOf(box);
            if (QAbstractButton *button = buttonCaptioned(box, press))
                button->click();
        });
        QCOMPARE(dialogs.message(request), result);
        QCOMPARE(shownCaptions, expectedCaptions);
    }

    // Escape answers Cancel when the box has it.
    void escapeIsCancel() {
        QtDialogs dialogs;
        MessageRequest request;
        request.buttons = MessageButton::Yes | MessageButton::No | MessageButton::Cancel;
        whenBoxOpens([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Escape); });
        QCOMPARE(dialogs.message(request), int(ResultCancel));
    }

    void captions_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("override");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        QTest::newRow("warning") << int(MessageKind::Warning) << false << QStringLiteral("警告")
                                 << int(QMessageBox::Warning);
        QTest::newRow("error") << int(MessageKind::Error) << false << QStringLiteral("ｴﾗｰ")
                               << int(QMessageBox::Critical);
        QTest::newRow("information") << int(MessageKind::Information) << false
                                     << QStringLiteral("情報") << int(QMessageBox::Information);
        QTest::newRow("confirmation") << int(MessageKind::Confirmation) << false
                                      << QStringLiteral("確認") << int(QMessageBox::Question);
        QTest::newRow("given caption")
            << int(MessageKind::Error) << true << QStringLiteral("Kelvari 2.0b")
            << int(QMessageBox::Critical);
        QTest::newRow("explicitly empty caption")
            << int(MessageKind::Error) << true << QString() << int(QMessageBox::Critical);
    }
    void captions() {
        QFETCH(int, kind);
        QFETCH(bool, override);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        QtDialogs dialogs;
        MessageRequest request;
        request.kind = MessageKind(kind);
        request.text = QStringLiteral("テキスト");
        if (override)
            request.caption = caption;
        QString title = QStringLiteral("(not shown)");
        int shownIcon = -1;
        QString text;
        whenBoxOpens([&](QMessageBox &box) {
            title = box.windowTitle();
            shownIcon = box.icon();
            text = box.text();
            box.buttons().constFirst()->click();
        });
        QCOMPARE(dialogs.message(request), int(ResultOk));
        QCOMPARE(title, caption);
        QCOMPARE(shownIcon, icon);
        QCOMPARE(text, QStringLiteral("テキスト"));
    }

    // Text that looks like markup is shown as it is.
    void plainText() {
        QtDialogs dialogs;
        MessageRequest request;
        request.text = QStringLiteral("<b>a.jmf</b>");
        int format = -1;
        whenBoxOpens([&](QMessageBox &box) {
            format = box.textFormat();
            box.buttons().constFirst()->click();
        });
        dialogs.message(request);
        QCOMPARE(format, int(Qt::PlainText));
    }

    void fileDialogs() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QtDialogs dialogs;
        FileDialogRequest request;
        request.title = QStringLiteral("名前を付けて保存");
        request.directory = dir.path();
        request.fileName = QStringLiteral("新規辞書1.jmf");
        request.filter = QStringLiteral("辞書作成ファイル (*.jmf);;すべてのファイル (*)");
        request.filterIndex = 1;
        request.defaultSuffix = QStringLiteral("jmf");
        QString title;
        QString filter;
        QString suffix;
        whenOpens<QFileDialog>([&](QFileDialog &dialog) {
            title = dialog.windowTitle();
            filter = dialog.selectedNameFilter();
            suffix = dialog.defaultSuffix();
            static_cast<QDialog &>(dialog).accept();
        });
        const auto answer = dialogs.saveFile(request);
        QVERIFY(answer.has_value());
        QCOMPARE(QFileInfo(answer->fileName).absoluteFilePath(),
                 QDir(dir.path()).absoluteFilePath(QStringLiteral("新規辞書1.jmf")));
        QCOMPARE(answer->filterIndex, 1);
        QCOMPARE(title, request.title);
        QCOMPARE(filter, QStringLiteral("すべてのファイル (*)"));
        QCOMPARE(suffix, QStringLiteral("jmf"));

        // Cancel answers nothing; a file that must exist needs an existing file.
        request.fileMustExist = true;
        int mode = -1;
        whenOpens<QFileDialog>([&](QFileDialog &dialog) {
            mode = dialog.fileMode();
            dialog.reject();
        });
        QVERIFY(!dialogs.openFile(request).has_value());
        QCOMPARE(mode, int(QFileDialog::ExistingFile));
    }

    void position() {
        QtDialogs dialogs;
        MessageRequest request;
        request.text = QStringLiteral("位置");
        request.topLeft = QPoint(40, 30);
        QPoint placed;
        whenBoxOpens([&](QMessageBox &box) {
            placed = box.pos();
            box.buttons().constFirst()->click();
        });
        dialogs.message(request);
        QCOMPARE(placed, QPoint(40, 30));

        // Half a position is no position: centred on the screen.
        request.topLeft = QPoint(40, -1);
        QRect frame;
        whenBoxOpens([&](QMessageBox &box) {
            frame = box.frameGeometry();
            box.buttons().constFirst()->click();
        });
        dialogs.message(request);
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY2((frame.center() - centre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("box centre %1,%2")
                                .arg(frame.center().x())
                                .arg(frame.center().y())));
    }
};

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
