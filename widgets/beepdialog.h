#pragma once
// A message that sounds first: the window keeps one per recurring message,
// configured through its properties, and shows it with ShowForResult.

#include "platform/dialogs.h"

#include <QObject>
#include <QString>

namespace kelvari {

class TBeepDialog : public QObject {
    Q_OBJECT
public:
    // A stored value outside the list is possible (it plays the default beep), so the
    // type is an int underneath.
    enum TBeepType : int { btICONASTERISK, btICONEXCLAMATION, btICONHAND, btICONQUESTION, btOK };
    Q_ENUM(TBeepType)
    enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
    Q_ENUM(TMsgDlgType)

private:
    Q_PROPERTY(bool Beep READ Beep WRITE setBeep)
    Q_PROPERTY(TBeepType BeepType READ BeepType WRITE setBeepType)
    Q_PROPERTY(kelvari::MessageButtons DlgButton READ DlgButton WRITE setDlgButton)
    Q_PROPERTY(QString DlgMessage READ DlgMessage WRITE setDlgMessage)
    Q_PROPERTY(TMsgDlgType DlgType READ DlgType WRITE setDlgType)
    Q_PROPERTY(bool DlgVisible READ DlgVisible WRITE setDlgVisible)
    Q_PROPERTY(int HelpContext READ HelpContext WRITE setHelpContext)
    Q_PROPERTY(int XPos READ XPos WRITE setXPos)
    Q_PROPERTY(int YPos READ YPos WRITE setYPos)

public:
    explicit TBeepDialog(Dialogs &dialogs, QObject *parent = nullptr);

    bool Beep() const { return m_beep; }
    void setBeep(bool beep) { m_beep = beep; }
    TBeepType BeepType() const { return m_beepType; }
    void setBeepType(TBeepType type) { m_beepType = type; }
    MessageButtons DlgButton() const { return m_dlgButton; }
    void setDlgButton(MessageButtons buttons) { m_dlgButton = buttons; }
    QString DlgMessage() const { return m_dlgMessage; }
    void setDlgMessage(const QString &message) { m_dlgMessage = message; }
    TMsgDlgType DlgType() const { return m_dlgType; }
    void setDlgType(TMsgDlgType type) { m_dlgType = type; }
    bool DlgVisible() const { return m_dlgVisible; }
    void setDlgVisible(bool visible) { m_dlgVisible = visible; }
    int HelpContext() const { return m_helpContext; }
    void setHelpContext(int context) { m_helpContext = context; }
    int XPos() const { return m_xPos; }
    void setXPos(int x) { m_xPos = x; }
    int YPos() const { return m_yPos; }
    void setYPos(int y) { m_yPos = y; }

    // Sounds (when Beep), then shows the message; the code of the button that
    // closed it (ResultOk ... ResultAll), 0 when DlgVisible is false.
    int ShowForResult();
    // True when ShowForResult gave a code other than 0.
    bool ShowAndWait() { return ShowForResult() != ResultNone; }

    // The owner window of the message; none: an application-wide box.
    void setOwnerWidget(QWidget *owner) { m_owner = owner; }

    static MessageKind kindFor(TMsgDlgType type);

private:
    Dialogs &m_dialogs;
    QWidget *m_owner = nullptr;
    bool m_beep = true;
    TBeepType m_beepType = btICONASTERISK;
    MessageButtons m_dlgButton = MessageButton::Ok;
    QString m_dlgMessage;
    TMsgDlgType m_dlgType = mtWarning;
    bool m_dlgVisible = true;
    int m_helpContext = 0;
    int m_xPos = -1;
    int m_yPos = -1;
};

} // namespace kelvari
