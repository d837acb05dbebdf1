#include "platform/messagesound.h"
#include "tests/support/scripteddialogs.h"
#include "widgets/beepdialog.h"

#include <QList>
#include <QMetaProperty>
#include <QTest>

using namespace kelvari;
using Sound = MessageSound::SoundType;

namespace {

// Keeps the whole request, which the scripted dialogs only summarise.
class RecordingDialogs : public test::ScriptedDialogs {
public:
    QList<MessageRequest> requests;
    int message(const MessageRequest &request) override {
        requests.append(request);
        return ScriptedDialogs::message(request);
    }
};

} // namespace

Q_DECLARE_METATYPE(TBeepDialog::TBeepType)
Q_DECLARE_METATYPE(Sound)

class TestBeepDialog : public QObject {
    Q_OBJECT
private slots:
    void init() { m_sounds.clear(); }

    void defaults() {
        RecordingDialogs dialogs;
        const TBeepDialog dialog(dialogs);
        QCOMPARE(dialog.Beep(), true);
        QCOMPARE(dialog.BeepType(), TBeepDialog::btICONASTERISK);
        QCOMPARE(dialog.DlgButton(), MessageButtons(MessageButton::Ok));
        QCOMPARE(dialog.DlgMessage(), QString());
        QCOMPARE(dialog.DlgType(), TBeepDialog::mtWarning);
        QCOMPARE(dialog.DlgVisible(), true);
        QCOMPARE(dialog.HelpContext(), 0);
        QCOMPARE(dialog.XPos(), -1);
        QCOMPARE(dialog.YPos(), -1);

        QStringList names;
        const QMetaObject &meta = TBeepDialog::staticMetaObject;
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
            names << QString::fromLatin1(meta.property(i).name());
        QCOMPARE(names, QStringList({QStringLiteral("Beep"), QStringLiteral("BeepType"),
                                     QStringLiteral("DlgButton"), QStringLiteral("DlgMessage"),
                                     QStringLiteral("DlgType"), QStringLiteral("DlgVisible"),
                                     QStringLiteral("HelpContext"), QStringLiteral("XPos"),
                                     QStringLiteral("YPos")}));
    }

    void soundFollowsBeepType_data() {
        QTest::addColumn<TBeepDialog::TBeepType>("type");
        QTest::addColumn<Sound>("sound");
        QTest::newRow("asterisk") << TBeepDialog::btICONASTERISK << Sound::Asterisk;
        QTest::newRow("exclamation") << TBeepDialog::btICONEXCLAMATION << Sound::Exclamation;
        QTest::newRow("hand") << TBeepDialog::btICONHAND << Sound::Hand;
        QTest::newRow("question") << TBeepDialog::btICONQUESTION << Sound::Question;
        QTest::newRow("ok") << TBeepDialog::btOK << Sound::Ok;
        QTest::newRow("outside the table: default beep")
            << static_cast<TBeepDialog::TBeepType>(42) << Sound::Ok;
    }
    void soundFollowsBeepType() {
        QFETCH(TBeepDialog::TBeepType, type);
        QFETCH(Sound, sound);
        const ScopedSoundPlayer player(recorder());
        RecordingDialogs dialogs;
        TBeepDialog dialog(dialogs);
        dialog.setBeepType(type);
        dialog.setDlgVisible(false);
        QCOMPARE(dialog.ShowForResult(), 0);
        QCOMPARE(m_sounds, QList<Sound>{sound});
    }

    // Sound first, then the dialog; the answer comes back as it is.
    void showForResult_data() {
        QTest::addColumn<bool>("beep");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("sounds");
        QTest::newRow("beep and show, OK") << true << true << int(ResultOk) << 1 << 1;
        QTest::newRow("silent, Yes") << false << true << int(ResultYes) << 6 << 0;
        QTest::newRow("No") << true << true << int(ResultNo) << 7 << 1;
        QTest::newRow("Cancel") << true << true << int(ResultCancel) << 2 << 1;
        QTest::newRow("All") << true << true << int(ResultAll) << 8 << 1;
        QTest::newRow("invisible: only the sound") << true << false << 0 << 0 << 1;
        QTest::newRow("invisible and silent") << false << false << 0 << 0 << 0;
    }
    void showForResult() {
        QFETCH(bool, beep);
        QFETCH(bool, visible);
        QFETCH(int, answer);
        QFETCH(int, expected);
        QFETCH(int, sounds);
        RecordingDialogs dialogs;
        bool soundBeforeDialog = true;
        const ScopedSoundPlayer player([&](Sound type) {
            soundBeforeDialog = soundBeforeDialog && dialogs.requests.isEmpty();
            m_sounds.append(type);
        });
        if (visible)
            dialogs.expectMessage(QStringLiteral("保存しますか"), answer);
        TBeepDialog dialog(dialogs);
        dialog.setBeep(beep);
        dialog.setDlgVisible(visible);
        dialog.setDlgMessage(QStringLiteral("変更を保存しますか？"));
        QCOMPARE(dialog.ShowForResult(), expected);
        QCOMPARE(m_sounds.size(), sounds);
        QVERIFY(soundBeforeDialog);
        QCOMPARE(dialogs.requests.size(), visible ? 1 : 0);

        if (visible)
            dialogs.expectMessage(QString(), answer);
        QCOMPARE(dialog.ShowAndWait(), expected != 0);
    }

    // The request carries the kind (and so its caption), buttons, text and help
    // context; only a full position places the dialog.
    void request_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("both set") << 100 << 50 << QPoint(100, 50);
        QTest::newRow("only XPos: centred") << 100 << -1 << QPoint(-1, -1);
        QTest::newRow("only YPos: centred") << -1 << 50 << QPoint(-1, -1);
        QTest::newRow("origin is a position") << 0 << 0 << QPoint(0, 0);
        QTest::newRow("neither: centred") << -1 << -1 << QPoint(-1, -1);
    }
    void request() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QPoint, topLeft);
        RecordingDialogs dialogs;
        const ScopedSoundPlayer player(recorder());
        dialogs.expectMessage(QStringLiteral("見つかりませんでした"), ResultOk);
        TBeepDialog dialog(dialogs);
        dialog.setDlgType(TBeepDialog::mtError);
        dialog.setBeepType(TBeepDialog::btICONHAND);
        dialog.setDlgButton(MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
        dialog.setDlgMessage(QStringLiteral("ファイルが見つかりませんでした。"));
        dialog.setHelpContext(10006);
        dialog.setXPos(x);
        dialog.setYPos(y);
        QCOMPARE(dialog.ShowForResult(), int(ResultOk));

        QCOMPARE(dialogs.requests.size(), 1);
        const MessageRequest &request = dialogs.requests.constFirst();
        QCOMPARE(request.topLeft, topLeft);
        QCOMPARE(request.kind, MessageKind::Error);
        QCOMPARE(dialogs.shown().constFirst().caption, QStringLiteral("ｴﾗｰ"));
        QCOMPARE(request.buttons, MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
        QCOMPARE(request.helpContext, 10006);
    }

    void kinds_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("caption");
        QTest::newRow("warning") << int(TBeepDialog::mtWarning) << QStringLiteral("警告");
        QTest::newRow("error") << int(TBeepDialog::mtError) << QStringLiteral("ｴﾗｰ");
        QTest::newRow("information") << int(TBeepDialog::mtInformation) << QStringLiteral("情報");
        QTest::newRow("confirmation") << int(TBeepDialog::mtConfirmation) << QStringLiteral("確認");
        QTest::newRow("custom") << int(TBeepDialog::mtCustom) << QStringLiteral("Kelvari 2.0b");
    }
    void kinds() {
        QFETCH(int, type);
        QFETCH(QString, caption);
        RecordingDialogs dialogs;
        const ScopedSoundPlayer player(recorder());
        dialogs.expectMessage(QString());
        TBeepDialog dialog(dialogs);
        dialog.setDlgType(static_cast<TBeepDialog::TMsgDlgType>(type));
        dialog.ShowForResult();
        QCOMPARE(dialogs.shown().constFirst().caption, caption);
    }

private:
    MessageSound::Player recorder() {
        return [this](Sound type) { m_sounds.append(type); };
    }
    QList<Sound> m_sounds;
};

QTEST_MAIN(TestBeepDialog)
#include "tst_beepdialog.moc"
