#include "widgets/beepdialog.h"

#include "platform/messagesound.h"

namespace kelvari {
namespace {

MessageSound::SoundType soundFor(TBeepDialog::TBeepType type) {
    using Sound = MessageSound::SoundType;
    switch (type) {
    case TBeepDialog::btICONASTERISK:
        return Sound::Asterisk;
    case TBeepDialog::btICONEXCLAMATION:
        return Sound::Exclamation;
    case TBeepDialog::btICONHAND:
        return Sound::Hand;
    case TBeepDialog::btICONQUESTION:
        return Sound::Question;
    case TBeepDialog::btOK:
        break;
    }
    return Sound::Ok; // anything else: the default beep
}

} // namespace

TBeepDialog::TBeepDialog(Dialogs &dialogs, QObject *parent) : QObject(parent), m_dialogs(dialogs) {}

MessageKind TBeepDialog::kindFor(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return MessageKind::Warning;
    case mtError:
        return MessageKind::Error;
    case mtInformation:
        return MessageKind::Information;
    case mtConfirmation:
        return MessageKind::Confirmation;
    case mtCustom:
        break;
    }
    return MessageKind::Custom;
}

int TBeepDialog::ShowForResult() {
    if (m_beep)
        MessageSound::play(soundFor(m_beepType));
    if (!m_dlgVisible)
        return ResultNone;

    MessageRequest request;
    request.owner = m_owner;
    request.kind = kindFor(m_dlgType);
    request.text = m_dlgMessage;
    request.buttons = m_dlgButton;
    request.helpContext = m_helpContext;
    // Only a full position places the dialog; otherwise it is centred.
    if (m_xPos != -1 && m_yPos != -1)
        request.topLeft = QPoint(m_xPos, m_yPos);
    return m_dialogs.message(request);
}

} // namespace kelvari
