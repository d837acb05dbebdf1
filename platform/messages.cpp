#include "platform/messages.h"

namespace kelvari {

QString captionFor(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("警告");
    case MessageKind::Error:
        return QStringLiteral("ｴﾗｰ");
    case MessageKind::Information:
        return QStringLiteral("情報");
    case MessageKind::Confirmation:
        return QStringLiteral("確認");
    case MessageKind::Custom:
        break;
    }
    return QStringLiteral("Kelvari 2.0b");
}

QString captionFor(MessageButton button) {
    switch (button) {
    case MessageButton::Yes:
        return QStringLiteral("はい(&Y)");
    case MessageButton::No:
        return QStringLiteral("いいえ(&N)");
    case MessageButton::Ok:
        return QStringLiteral("OK");
    case MessageButton::Cancel:
        return QStringLiteral("ｷｬﾝｾﾙ");
    case MessageButton::Abort:
        return QStringLiteral("中止(&A)");
    case MessageButton::Retry:
        return QStringLiteral("再試行(&R)");
    case MessageButton::Ignore:
        return QStringLiteral("無視(&I)");
    case MessageButton::All:
        return QStringLiteral("すべて");
    case MessageButton::Help:
        return QStringLiteral("ﾍﾙﾌﾟ(&H)");
    }
    return {};
}

} // namespace kelvari
